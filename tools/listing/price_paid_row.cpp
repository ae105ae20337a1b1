#include "price_paid_row.h"

#include "utf8_text.h"

#include "base/hex_digit.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace korvane::listing {
namespace {

// Prices have at most 15 digits: a street's sales then sum within 64 bits up to 9,000 of them,
// and a page's average is summed wider still.
constexpr std::int64_t kPriceLimit = 1'000'000'000'000'000;

// "{8D5B7D3E-6B25-4B1F-E053-6B04A8C0F257}", braces optional, hex digits of either case.
bool parseId(std::string_view text, std::array<std::uint8_t, 16>& id) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
  if (text.size() != 36) return false;
  std::size_t digits = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return false;
      continue;
    }
    const int value = hexDigitValue(text[i]);
    if (value < 0) return false;
    std::uint8_t& byte = id[digits / 2];
    byte = digits % 2 == 0 ? static_cast<std::uint8_t>(value << 4)
                           : static_cast<std::uint8_t>(byte | value);
    ++digits;
  }
  return true;
}

// Whole pounds: digits only.
bool parsePrice(std::string_view text, std::int64_t& price) {
  if (text.empty()) return false;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    if (value < kPriceLimit) value = value * 10 + (c - '0');  // beyond the limit it stays there
  }
  price = value;
  return true;
}

int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "YYYY-MM-DD", optionally followed by a blank and a time of day, which is ignored.
bool parseDate(std::string_view text, int& date) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return false;
  if (text.size() > 10 && text[10] != ' ') return false;
  const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] || (month == 2 && day == 29 && !leap)) return false;
  date = year * 10000 + month * 100 + day;
  return true;
}

void appendPostcodeKey(std::string_view postcode, std::string& key) {
  for (char c : postcode) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
}

}  // namespace

int latestSaleDate() {
  using namespace std::chrono;
  const year_month_day day{floor<days>(system_clock::now()) + days{31}};
  return static_cast<int>(day.year()) * 10000 + static_cast<int>(unsigned{day.month()}) * 100 +
         static_cast<int>(unsigned{day.day()});
}

std::string normalizePostcode(std::string_view postcode) {
  std::string key;
  appendPostcodeKey(postcode, key);
  return key;
}

std::string PricePaidRow::read(std::string_view line) {
  if (const std::size_t bad = invalidUtf8At(line); bad != std::string_view::npos)
    return "not UTF-8 text at byte " + std::to_string(bad + 1);
  std::string problem = split(line);
  return problem.empty() ? convert() : problem;
}

std::string PricePaidRow::split(std::string_view line) {
  // Undoubled fields never outgrow the line, so the views into this buffer stay valid.
  m_unescaped.clear();
  m_unescaped.reserve(line.size());
  std::size_t count = 0;
  std::size_t at = 0;
  while (true) {
    std::string_view field;
    if (at < line.size() && line[at] == '"') {
      const std::size_t start = ++at;
      bool doubled = false;
      while (true) {
        const std::size_t quote = line.find('"', at);
        if (quote == std::string_view::npos)
          return "unterminated quote in field " + std::to_string(count + 1);
        if (quote + 1 < line.size() && line[quote + 1] == '"') {
          doubled = true;
          at = quote + 2;
          continue;
        }
        field = line.substr(start, quote - start);
        at = quote + 1;
        break;
      }
      if (at < line.size() && line[at] != ',')
        return "text after the closing quote of field " + std::to_string(count + 1);
      if (doubled) {
        const std::size_t begin = m_unescaped.size();
        for (std::size_t i = 0; i < field.size(); ++i) {
          m_unescaped += field[i];
          if (field[i] == '"') ++i;  // the second of a doubled pair
        }
        field = std::string_view(m_unescaped).substr(begin);
      }
    } else {
      const std::size_t comma = std::min(line.find(',', at), line.size());
      field = line.substr(at, comma - at);
      if (field.find('"') != std::string_view::npos)
        return "quote inside the unquoted field " + std::to_string(count + 1);
      at = comma;
    }
    if (count < kPricePaidFields) m_fields[count] = field;
    ++count;
    if (at >= line.size()) break;
    ++at;  // the comma; a comma at the very end starts one more, empty field
  }
  if (count != kPricePaidFields) return "expected 16 fields, found " + std::to_string(count);
  return {};
}

std::string PricePaidRow::convert() {
  const auto& f = m_fields;
  if (!parseId(f[kId], m_sale.id)) return "transaction id is not a {...} identifier";
  if (!parsePrice(f[kPrice], m_sale.price)) return "price is not a whole number of pounds";
  if (m_sale.price >= kPriceLimit) return "price has more than 15 digits";
  if (!parseDate(f[kDate], m_sale.date)) return "date of transfer is not YYYY-MM-DD";
  if (m_sale.date < kFirstSaleDate) return "date of transfer is before 1995";
  if (m_sale.date > m_latestDate) return "date of transfer is more than 31 days ahead";
  const std::string_view status = f[kStatus];
  if (status != "A" && status != "C" && status != "D") return "unknown record status";
  m_sale.status = status[0];

  m_sale.postcode.clear();
  appendPostcodeKey(f[kPostcode], m_sale.postcode);
  m_sale.propertyType = f[kPropertyType];
  m_sale.newBuild = f[kNewBuild];
  m_sale.tenure = f[kTenure];
  m_sale.paon = f[kPaon];
  m_sale.saon = f[kSaon];
  m_sale.street = f[kStreet];
  m_sale.locality = f[kLocality];
  m_sale.town = f[kTown];
  m_sale.category = f[kCategory];
  return {};
}

}  // namespace korvane::listing
