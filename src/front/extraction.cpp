#include "front/extraction.h"

#include "front/money_text.h"
#include "util/run_buffer.h"
#include "util/strings.h"

namespace korvane {

namespace {

constexpr std::string_view kHeading = "post codes starting";
constexpr std::string_view kNotice = "Buying a home?";
constexpr std::string_view kPound = "\xA3";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when a thousands group ("," and exactly three digits) starts at pos.
bool groupAt(std::string_view text, std::size_t pos) {
  if (pos + 4 > text.size() || text[pos] != ',') return false;
  if (!isDigit(text[pos + 1]) || !isDigit(text[pos + 2]) || !isDigit(text[pos + 3])) return false;
  return pos + 4 == text.size() || !isDigit(text[pos + 4]);
}

// The average's price text: from after the street name and its comma up to the price's thousands
// separator. A price of a million or more has several separators; the cut runs on to the last one
// so that all its thousands are kept ("£1,875,000" gives "£1,875").
std::string averagePriceText(std::string_view prices, std::string_view street) {
  std::string startMarker = std::string(street) + ",";
  std::string_view rest = textAfterMarker(prices, startMarker);
  if (rest.empty()) return {};
  std::size_t end = rest.find(',');
  if (end == std::string_view::npos) return std::string(rest);
  if (end > 0 && isDigit(rest[end - 1])) {
    while (groupAt(rest, end) && groupAt(rest, end + 4)) end += 4;
  }
  return std::string(trimSpaces(rest.substr(0, end)));
}

}  // namespace

void cutStreetAndAverage(RunBuffer& buffer) {
  const std::string& page = buffer.text("txt_nohtmlsource");
  buffer.setText("txt_housetext", GetStringBetween(page, kHeading, kNotice));
  buffer.setText("txt_housetext2", GetStringBetween(buffer.text("txt_housetext"), "Show", "only"));
  buffer.setText("txt_houseprices", GetStringBetween(page, kPound, kNotice));
  buffer.setText("txt_avgclose",
                 averagePriceText(buffer.text("txt_houseprices"), buffer.text("txt_housetext2")));
  std::string digits;
  std::string others;
  NumberOrNoNumber(buffer.text("txt_avgclose"), true, &digits, &others);
  buffer.setText("txt_num", std::move(digits));
  buffer.setText("txt_num1", std::move(others));
}

void publishExtraction(RunBuffer& buffer) {
  buffer.setText("lbl_avghouseprice", moneyText(buffer.text("txt_num")));
  buffer.setText("GPH_Houseprice", buffer.text("txt_num"));
  buffer.setText("lbl_streetname", buffer.text("txt_housetext2"));
}

void extractSoldPrices(RunBuffer& buffer) {
  cutStreetAndAverage(buffer);
  publishExtraction(buffer);
}

void splitValuation(RunBuffer& buffer, std::string_view valuation) {
  std::string digits;
  std::string others;
  NumberOrNoNumber(valuation, true, &digits, &others);
  buffer.setText("txt_estdval", std::move(digits));
  buffer.setText("txt_dump", std::move(others));
}

}  // namespace korvane
