// The component registry file reader on a fuzzed file. A file it accepts reads back the same
// after being written out again; a file it rejects leaves the caller's registry untouched.

#include "fuzz_check.h"

#include "queryserv/component/registry.h"
#include "queryserv/component/registry_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// A private data folder for the session, so the reader finds the fuzzed file at its usual place.
const fs::path& registryFile() {
  static const korvane::fuzz::SessionFolder dataHome("korvane-registry");
  static const fs::path file = [] {
    FUZZ_CHECK(::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1) == 0);
    fs::create_directories(dataHome.path() / "korvane");
    return korvane::component::registryPath();
  }();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(registryFile(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    FUZZ_CHECK(out.good());
  }

  korvane::component::Registry registry;
  FUZZ_CHECK(registry.setValue("Sentinel", "", "kept"));
  const korvane::component::HRESULT read = korvane::component::readRegistry(&registry);
  const auto parsed = korvane::component::Registry::fromText(text);
  FUZZ_CHECK((read == korvane::component::S_OK) == parsed.has_value());
  if (!parsed) {
    FUZZ_CHECK(read == korvane::component::REGDB_E_READREGDB);
    FUZZ_CHECK(registry.value("Sentinel") == "kept" && registry.values().size() == 1);
    return 0;
  }
  FUZZ_CHECK(registry.values() == parsed->values());

  // Written out and read again, the registry is unchanged, and its text is a fixed point.
  const std::string written = registry.toText();
  const auto reread = korvane::component::Registry::fromText(written);
  FUZZ_CHECK(reread.has_value());
  FUZZ_CHECK(reread->values() == registry.values());
  FUZZ_CHECK(reread->toText() == written);
  for (const auto& [place, value] : registry.values()) {
    FUZZ_CHECK(!place.first.empty());
    FUZZ_CHECK(place.first.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
