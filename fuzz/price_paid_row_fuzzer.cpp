// The Price Paid row reader on any line. It never fails; it either rejects the line with a reason
// or accepts 16 fields, and an accepted line written back in the file's quoting reads back to the
// same fields and the same sale.

#include "fuzz_check.h"
#include "listing/price_paid_row.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane::listing;
  PricePaidRow row;
  if (!row.read(std::string_view(reinterpret_cast<const char*>(data), size)).empty()) return 0;

  const auto& fields = row.fields();  // into the fuzzer's bytes or `row`, both kept to the end
  const Sale& sale = row.sale();
  FUZZ_CHECK(sale.status == 'A' || sale.status == 'C' || sale.status == 'D');
  FUZZ_CHECK(sale.price >= 0 && sale.price < 1'000'000'000'000'000);
  FUZZ_CHECK(sale.date / 100 % 100 >= 1 && sale.date / 100 % 100 <= 12);
  FUZZ_CHECK(sale.date % 100 >= 1 && sale.date % 100 <= 31);
  FUZZ_CHECK(sale.postcode == normalizePostcode(fields[kPostcode]));
  FUZZ_CHECK(sale.street == fields[kStreet] && sale.category == fields[kCategory]);

  // Written back as HM Land Registry writes it: each field quoted, quotes inside doubled.
  std::string line;
  for (std::string_view field : fields) {
    line += line.empty() ? "\"" : ",\"";
    for (char c : field) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  PricePaidRow again;
  FUZZ_CHECK(again.read(line).empty() && again.fields() == fields);
  FUZZ_CHECK(again.sale().id == sale.id && again.sale().price == sale.price &&
             again.sale().date == sale.date);
  return 0;
}
