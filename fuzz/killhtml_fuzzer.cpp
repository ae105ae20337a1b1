// killhtml on a fuzzed page: the stripped file keeps every byte outside the tags in order, turns
// each tag and each stray ">" into one space, drops an unclosed tag's rest, and never grows.

#include "fuzz_check.h"

#include "util/markup.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// One work folder for the whole fuzzing session.
const fs::path& workFolder() {
  static const korvane::fuzz::SessionFolder folder("korvane-killhtml");
  return folder.path();
}

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text outside the tags, as a reader of the page would mark it by hand.
std::string outsideTags(std::string_view page) {
  std::string kept;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '<') {
      const std::size_t close = page.find('>', i);
      if (close == std::string_view::npos) break;
      kept += ' ';
      i = close;
    } else {
      kept += page[i] == '>' ? ' ' : page[i];
    }
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const fs::path entity = workFolder() / "entity.html";
  const fs::path comprm = workFolder() / "comprm.dat";
  {
    std::ofstream out(entity, std::ios::binary | std::ios::trunc);
    out.write(page.data(), static_cast<std::streamsize>(page.size()));
    FUZZ_CHECK(out.good());
  }
  korvane::killhtml(entity, comprm);
  const std::string stripped = readAll(comprm);

  FUZZ_CHECK(stripped.size() <= page.size());
  FUZZ_CHECK(stripped.find('<') == std::string::npos);
  FUZZ_CHECK(stripped.find('>') == std::string::npos);
  FUZZ_CHECK(stripped == outsideTags(page));
  // The page itself is only read.
  FUZZ_CHECK(readAll(entity) == page);
  return 0;
}
