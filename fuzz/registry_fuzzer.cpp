// The component registry file reader on a fuzzed file. A file it accepts reads back the same after
// being written out again; a file it rejects leaves the caller's registry untouched.

#include "fuzz_check.h"

#include "queryserv/component/registry.h"
#include "queryserv/component/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane::component;
  using namespace korvane::fuzz;
  // The session's own data folder, so the reader finds the fuzzed file at its usual place.
  static const fs::path file = [] {
    FUZZ_CHECK(::setenv("XDG_DATA_HOME", sessionFolder().c_str(), 1) == 0);
    fs::create_directories(sessionFolder() / "korvane");
    return registryPath();
  }();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  writeFile(file, text);

  Registry registry;
  FUZZ_CHECK(registry.setValue("Sentinel", "", "kept"));
  const HRESULT read = readRegistry(&registry);
  const auto parsed = Registry::fromText(text);
  FUZZ_CHECK((read == S_OK) == parsed.has_value());
  if (!parsed) {
    FUZZ_CHECK(read == REGDB_E_READREGDB);
    FUZZ_CHECK(registry.value("Sentinel") == "kept" && registry.values().size() == 1);
    return 0;
  }
  FUZZ_CHECK(registry.values() == parsed->values());

  // Written out and read again, the registry is unchanged, and its text is a fixed point.
  const std::string written = registry.toText();
  const auto reread = Registry::fromText(written);
  FUZZ_CHECK(reread && reread->values() == registry.values() && reread->toText() == written);
  for (const auto& [place, value] : registry.values()) {
    FUZZ_CHECK(!place.first.empty() && place.first.find_first_of("\r\n") == std::string::npos);
  }
  return 0;
}
