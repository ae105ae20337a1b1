// The whole extraction and the figures on a fuzzed stripped page. Neither ever throws (a figure
// step that fails is skipped); the average's thousands are its digits, split from the rest of its
// text in order.

#include "fuzz_check.h"

#include "front/extraction.h"
#include "front/figures.h"
#include "util/run_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvane::fuzz::isSubsequence;
  korvane::RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", std::string(reinterpret_cast<const char*>(data), size));
  korvane::extractSoldPrices(buffer);

  const std::string& average = buffer.text("txt_avgclose");
  const std::string& thousands = buffer.text("txt_num");
  const std::string& rest = buffer.text("txt_num1");
  FUZZ_CHECK(thousands.find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(rest.find_first_of("0123456789") == std::string::npos);
  FUZZ_CHECK(thousands.size() + rest.size() == average.size());
  FUZZ_CHECK(isSubsequence(thousands, average) && isSubsequence(rest, average));

  korvane::computeFigures(buffer);
  return 0;
}
