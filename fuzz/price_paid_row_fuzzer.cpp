// The Price Paid row reader on any line. It never fails; it either rejects the line with a reason
// or accepts 16 fields, and an accepted line written back in the file's quoting reads back to the
// same fields and the same sale.

#include "fuzz_check.h"
#include "listing/price_paid_row.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

using korvane::listing::kPricePaidFields;

// The fields as HM Land Registry writes them: each quoted, quotes inside doubled.
std::string written(const std::array<std::string, kPricePaidFields>& fields) {
  std::string line;
  for (const std::string& field : fields) {
    line += line.empty() ? "\"" : ",\"";
    for (char c : field) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  korvane::listing::PricePaidRow row;
  const std::string problem = row.read(line);
  if (!problem.empty()) return 0;

  std::array<std::string, kPricePaidFields> fields;
  for (std::size_t i = 0; i < kPricePaidFields; ++i) fields[i] = row.fields()[i];
  const korvane::listing::Sale& sale = row.sale();
  FUZZ_CHECK(sale.status == 'A' || sale.status == 'C' || sale.status == 'D');
  FUZZ_CHECK(sale.price >= 0 && sale.price < 1'000'000'000'000'000);
  FUZZ_CHECK(sale.date / 100 % 100 >= 1 && sale.date / 100 % 100 <= 12);
  FUZZ_CHECK(sale.date % 100 >= 1 && sale.date % 100 <= 31);
  FUZZ_CHECK(sale.postcode == korvane::listing::normalizePostcode(fields[3]));
  FUZZ_CHECK(sale.street == fields[9] && sale.category == fields[14]);

  const std::string rewritten = written(fields);  // the fields read back point into it
  korvane::listing::PricePaidRow again;
  FUZZ_CHECK(again.read(rewritten).empty());
  for (std::size_t i = 0; i < kPricePaidFields; ++i) FUZZ_CHECK(again.fields()[i] == fields[i]);
  FUZZ_CHECK(again.sale().id == sale.id && again.sale().price == sale.price &&
             again.sale().date == sale.date);
  return 0;
}
