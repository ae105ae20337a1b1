#include "page_text.h"

#include <array>
#include <cctype>

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

std::string groupThousands(std::uint64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string formatPounds(std::int64_t pounds) {
  const std::uint64_t size =
      pounds < 0 ? 0 - static_cast<std::uint64_t>(pounds) : static_cast<std::uint64_t>(pounds);
  return std::string(pounds < 0 ? "-" : "") + "\xC2\xA3" + groupThousands(size);
}

std::string formatSaleDate(int date) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int month = date / 100 % 100;
  if (month < 1 || month > 12) return std::to_string(date);
  return std::to_string(date % 100) + " " + std::string(kMonths[month - 1]) + " " +
         std::to_string(date / 10000);
}

std::string displayName(std::string_view name) {
  for (char c : name)
    if (std::islower(static_cast<unsigned char>(c))) return std::string(name);
  // A letter starts a word unless it follows a letter, a digit ("1st") or an apostrophe
  // ("John's"); bytes of UTF-8 characters count as letters.
  std::string shown(name);
  bool inWord = false;
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalpha(byte)) c = static_cast<char>(inWord ? std::tolower(byte) : byte);
    inWord = std::isalnum(byte) || c == '\'' || byte >= 0x80;
  }
  return shown;
}

std::string displayPostcode(std::string_view postcode) {
  if (postcode.size() < 5) return std::string(postcode);
  return std::string(postcode.substr(0, postcode.size() - 3)) + " " +
         std::string(postcode.substr(postcode.size() - 3));
}

}  // namespace korvane::listing
