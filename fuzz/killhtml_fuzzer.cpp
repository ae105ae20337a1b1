// killhtml on a fuzzed page: the stripped file keeps every byte outside the tags in order, turns
// each tag and each stray ">" into one space, drops an unclosed tag's rest, and never grows.

#include "fuzz_check.h"

#include "util/markup.h"

namespace {

// The text outside the tags, as a reader of the page would mark it by hand.
std::string outsideTags(std::string_view page) {
  std::string kept;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '<' && (i = page.find('>', i)) == std::string_view::npos) break;
    kept += page[i] == '>' ? ' ' : page[i];
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane::fuzz;
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const fs::path entity = sessionFolder() / "entity.html", comprm = sessionFolder() / "comprm.dat";
  writeFile(entity, page);
  korvane::killhtml(entity, comprm);
  FUZZ_CHECK(readFile(comprm) == outsideTags(page));
  FUZZ_CHECK(readFile(entity) == page);  // the page itself is only read
  return 0;
}
