#pragma once

// The sample listing's data set: one street per post code, each with its recorded sales, read from
// the CSV files of a data folder.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::listing {

struct Sale {
  std::string house;  // house number or name, UTF-8
  std::string date;   // YYYY-MM-DD
  long price = 0;     // whole pounds
};

struct Street {
  std::string postcode;  // as written in the data, e.g. "CF10 3NQ"
  std::string name;      // UTF-8
  std::vector<Sale> sales;
};

// The post code in upper case with every blank removed, so "cf10 3nq" and "CF103NQ" match
// (price_paid_row.cpp).
std::string normalizePostcode(std::string_view postcode);

// The mean price of the street's sales rounded to the nearest thousand pounds (halves up);
// 0 for a street without sales.
long roundedAverage(const Street& street);

class SalesData {
 public:
  // Reads every *.csv file of `folder` (header "postcode,street,house,date,price", one sale a
  // line). Throws std::runtime_error naming the file and line for a malformed line, a post code
  // that leads to two streets, or a folder that cannot be read or holds no sales.
  static SalesData load(const std::filesystem::path& folder);

  // Parses one CSV text as load() does; `source` names it in error messages.
  void addCsv(std::string_view text, std::string_view source);

  // The street the post code leads to, matched without regard to case and blanks; nullptr if none.
  const Street* find(std::string_view postcode) const;

  // Every street, ordered by normalised post code.
  std::vector<const Street*> streets() const;

 private:
  std::map<std::string, Street> m_streets;  // keyed by normalised post code
};

}  // namespace korvane::listing
