#include "page_text.h"

#include <array>
#include <cstdlib>

namespace korvane::listing {

std::string htmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string formatPounds(long pounds) {
  std::string digits = std::to_string(std::labs(pounds));
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return std::string(pounds < 0 ? "-" : "") + "\xC2\xA3" + grouped;
}

std::string formatSaleDate(std::string_view isoDate) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (isoDate.size() != 10 || isoDate[4] != '-' || isoDate[7] != '-') return std::string(isoDate);
  const int month = std::atoi(std::string(isoDate.substr(5, 2)).c_str());
  if (month < 1 || month > 12) return std::string(isoDate);
  std::string day(isoDate.substr(8, 2));
  if (day[0] == '0') day.erase(0, 1);
  return day + " " + std::string(kMonths[month - 1]) + " " + std::string(isoDate.substr(0, 4));
}

}  // namespace korvane::listing
