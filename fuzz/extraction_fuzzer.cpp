// The whole extraction and the figures on a fuzzed stripped page. Whatever average the page yields,
// the report's figures follow from it by the forecast's rules: five per cent of today's average per
// year, whole thousands truncated, the market series at its fixed offsets.

#include "fuzz_check.h"

#include "front/extraction.h"
#include "front/figures.h"
#include "front/money_text.h"
#include "util/run_buffer.h"

namespace {

std::string joined(std::initializer_list<std::int64_t> values) {
  std::string out;
  for (std::int64_t value : values) out += (out.empty() ? "" : ",") + std::to_string(value);
  return out;
}

// Checks the figures for an average of `thousands` (digits, short enough to be exact).
void checkFigures(const korvane::RunBuffer& buffer, const korvane::ReportTexts& texts,
                  std::string_view thousands) {
  std::int64_t average = 0;
  for (char c : thousands) average = average * 10 + (c - '0');
  average *= 1000;
  // One per cent is a 32-bit whole-number division; an average beyond that range leaves no step.
  const std::int64_t step = average <= INT32_MAX ? 5 * (average / 100) : 0;
  std::int64_t year[6];
  for (int k = 1; k <= 5; ++k) year[k] = (step * k + average) / 1000;
  const std::int64_t fiveYearsAgo = (average - step) / 1000;

  const char* const names[] = {"GPH_1year", "gph_2year", "gph_3year", "Gph_4year", "GPH_5year"};
  for (int k = 1; k <= 5; ++k) FUZZ_CHECK(buffer.text(names[k - 1]) == std::to_string(year[k]));
  FUZZ_CHECK(buffer.text("txt_5years") == std::to_string(fiveYearsAgo));
  FUZZ_CHECK(buffer.text("gph_array") ==
             std::string(thousands) + "," + joined({year[1], year[2], year[3], year[4], year[5]}));
  FUZZ_CHECK(buffer.text("gph_marketarray") ==
             joined({year[1] + 2, year[2] + 6, year[3] + 3, year[4] + 1, year[5], year[5],
                     year[5] + 3, year[5] + 1, year[5] + 2}));
  FUZZ_CHECK(texts.yearlyStep == std::to_string(step));
  FUZZ_CHECK(texts.inFiveYears == korvane::moneyText(std::to_string(year[5])));
  FUZZ_CHECK(texts.fiveYearsAgo == korvane::moneyText(std::to_string(fiveYearsAgo)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvane::fuzz::isSubsequence;
  korvane::RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", std::string(reinterpret_cast<const char*>(data), size));
  korvane::extractSoldPrices(buffer);

  const std::string& average = buffer.text("txt_avgclose");
  const std::string& thousands = buffer.text("txt_num");
  const std::string& rest = buffer.text("txt_num1");
  FUZZ_CHECK(thousands.find_first_not_of("0123456789") == std::string::npos);
  FUZZ_CHECK(thousands.size() + rest.size() == average.size());
  FUZZ_CHECK(isSubsequence(thousands, average) && isSubsequence(rest, average));
  FUZZ_CHECK(buffer.text("GPH_Houseprice") == thousands);
  FUZZ_CHECK(buffer.text("lbl_streetname") == buffer.text("txt_housetext2"));
  // The money text is "£", the thousands grouped in threes from the right, then ",000".
  std::string grouped = thousands;
  for (std::size_t end = grouped.size(); end > 3; end -= 3) grouped.insert(end - 3, 1, ',');
  FUZZ_CHECK(buffer.text("lbl_avghouseprice") == "\xA3" + grouped + ",000");

  const korvane::ReportTexts texts = korvane::computeFigures(buffer);
  FUZZ_CHECK(texts.average == buffer.text("lbl_avghouseprice"));
  // Leading zeros do not change the figures; twelve digits keep every figure exact.
  const std::size_t firstDigit = thousands.find_first_not_of('0');
  if (firstDigit == std::string::npos || thousands.size() - firstDigit <= 12) {
    checkFigures(buffer, texts, thousands);
  }
  return 0;
}
