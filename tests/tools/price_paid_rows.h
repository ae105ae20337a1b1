#pragma once

// Price Paid rows for the listing's tests: the fields a test cares about, the rest filled in.

#include <cstdio>
#include <initializer_list>
#include <string>

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
  char id[48];
  std::snprintf(id, sizeof id, "{00000000-0000-0000-0000-%012X}", row.sale);
  std::string line;
  for (std::string field :
       {std::string(id), std::to_string(row.price), std::string(row.date) + " 00:00",
        std::string(row.postcode), std::string("T"), std::string("N"), std::string("F"),
        std::string(row.paon), std::string(), std::string(row.street), std::string(),
        std::string("CARDIFF"), std::string("CARDIFF"), std::string("CARDIFF"),
        std::string(row.category), std::string(row.status)}) {
    for (size_t at = field.find('"'); at != std::string::npos; at = field.find('"', at + 2))
      field.insert(at, 1, '"');
    line += (line.empty() ? "\"" : ",\"") + field + "\"";
  }
  return line;
}

inline std::string pricePaidFile(std::initializer_list<PricePaidRow> rows) {
  std::string text;
  for (const PricePaidRow& row : rows) text += pricePaidLine(row) + "\n";
  return text;
}

}  // namespace korvane::test
