#pragma once

// Price Paid rows for the listing's tests: the fields a test cares about, the rest filled in.

#include <cstdio>
#include <string>
#include <vector>

namespace korvane::test {

struct PricePaidRow {
  int sale = 1;  // makes the transaction id {00000000-0000-0000-0000-<sale, 12 hex digits>}
  long price = 250000;
  const char* date = "2024-01-02";
  const char* postcode = "CF10 3NQ";
  const char* street = "HIGH STREET";
  const char* category = "A";
  const char* status = "A";
  const char* paon = "12";
};

// The row as HM Land Registry writes it: 16 quoted fields, quotes inside doubled.
inline std::string pricePaidLine(const PricePaidRow& row) {
  auto quoted = [](std::string field) {
    for (size_t at = field.find('"'); at != std::string::npos; at = field.find('"', at + 2))
      field.insert(at, 1, '"');
    return "\"" + field + "\"";
  };
  char id[48];
  std::snprintf(id, sizeof id, "\"{00000000-0000-0000-0000-%012X}\",", row.sale);
  return id + quoted(std::to_string(row.price)) + "," + quoted(std::string(row.date) + " 00:00") +
         "," + quoted(row.postcode) + ",\"T\",\"N\",\"F\"," + quoted(row.paon) + ",\"\"," +
         quoted(row.street) + ",\"\",\"CARDIFF\",\"CARDIFF\",\"CARDIFF\"," + quoted(row.category) +
         "," + quoted(row.status);
}

inline std::string pricePaidFile(const std::vector<PricePaidRow>& rows) {
  std::string text;
  for (const PricePaidRow& row : rows) text += pricePaidLine(row) + "\n";
  return text;
}

// 80 older sales in a post code no test looks at, ids from 1000: in a listing's first file, they
// make later files of ten rows or fewer small enough for the recent tables.
inline std::vector<PricePaidRow> otherSales() {
  std::vector<PricePaidRow> rows;
  for (int sale = 1000; sale < 1080; ++sale)
    rows.push_back({.sale = sale, .date = "2001-01-01", .postcode = "ZZ9 9ZZ"});
  return rows;
}

}  // namespace korvane::test
