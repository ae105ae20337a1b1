#include "sales_data.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvane::listing {
namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool isDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  int month = (text[5] - '0') * 10 + (text[6] - '0');
  int day = (text[8] - '0') * 10 + (text[9] - '0');
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::runtime_error lineError(std::string_view source, int line, std::string_view what) {
  std::ostringstream message;
  message << source << ":" << line << ": " << what;
  return std::runtime_error(message.str());
}

}  // namespace

long roundedAverage(const Street& street) {
  if (street.sales.empty()) return 0;
  long long sum = 0;
  for (const Sale& sale : street.sales) sum += sale.price;
  const long long count = static_cast<long long>(street.sales.size());
  // Integer arithmetic keeps the half-thousand case exact: add half the divisor, then truncate.
  return static_cast<long>((sum + count * 500) / (count * 1000) * 1000);
}

SalesData SalesData::load(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  }
  if (error) throw std::runtime_error(folder.string() + ": " + error.message());
  std::sort(files.begin(), files.end());

  SalesData data;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw std::runtime_error(file.string() + ": cannot be read");
    data.addCsv(text.str(), file.string());
  }
  if (data.m_streets.empty()) throw std::runtime_error(folder.string() + ": no sales found");
  return data;
}

void SalesData::addCsv(std::string_view text, std::string_view source) {
  int lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (lineNumber == 1) {
      if (line != "postcode,street,house,date,price") {
        throw lineError(source, lineNumber, "expected the header postcode,street,house,date,price");
      }
      continue;
    }

    std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() != 5) throw lineError(source, lineNumber, "expected 5 fields");
    for (std::string_view field : fields) {
      if (field.empty()) throw lineError(source, lineNumber, "empty field");
    }
    Sale sale{std::string(fields[2]), std::string(fields[3]), 0};
    if (!isDate(sale.date)) throw lineError(source, lineNumber, "date is not YYYY-MM-DD");
    const std::string_view price = fields[4];
    auto [rest, status] = std::from_chars(price.data(), price.data() + price.size(), sale.price);
    if (status != std::errc() || rest != price.data() + price.size() || sale.price <= 0) {
      throw lineError(source, lineNumber, "price is not a whole number of pounds");
    }

    const std::string key = normalizePostcode(fields[0]);
    auto [it, added] =
        m_streets.try_emplace(key, Street{std::string(fields[0]), std::string(fields[1]), {}});
    if (!added && it->second.name != fields[1]) {
      throw lineError(source, lineNumber, "post code already leads to " + it->second.name);
    }
    it->second.sales.push_back(std::move(sale));
  }
}

const Street* SalesData::find(std::string_view postcode) const {
  auto it = m_streets.find(normalizePostcode(postcode));
  return it == m_streets.end() ? nullptr : &it->second;
}

std::vector<const Street*> SalesData::streets() const {
  std::vector<const Street*> all;
  for (const auto& [key, street] : m_streets) all.push_back(&street);
  return all;
}

}  // namespace korvane::listing
