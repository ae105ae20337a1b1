// NumberOrNoNumber on fuzzed text: the digits and the other characters are a split of the input
// that keeps each part's order, and the result and both targets agree.

#include "fuzz_check.h"

#include "util/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvane::fuzz::isSubsequence;
  korvane::fuzz::FuzzInput input(data, size);
  const bool numbers = (input.byte() & 1) != 0;
  const std::string_view text = input.rest();

  std::string digits = "stale", others = "stale";
  const std::string result = korvane::NumberOrNoNumber(text, numbers, &digits, &others);

  FUZZ_CHECK(digits.size() + others.size() == text.size());
  FUZZ_CHECK(digits.find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(others.find_first_of("0123456789") == std::string::npos);
  FUZZ_CHECK(isSubsequence(digits, text) && isSubsequence(others, text));
  FUZZ_CHECK(result == (numbers ? digits : others));
  FUZZ_CHECK(korvane::NumberOrNoNumber(text, numbers) == result);  // the same without targets
  return 0;
}
