// The Price Paid row reader on any line. It never fails; it either rejects the line with a reason
// or accepts 16 fields of UTF-8 text with a price below 10^15 and a date from 1995 to 31 days
// ahead, and an accepted line written back in the file's quoting reads back to the same fields
// and the same sale. Its UTF-8 check agrees with glibc's iconv on every input.

#include "fuzz_check.h"
#include "listing/price_paid_row.h"
#include "listing/utf8_text.h"

#include <iconv.h>

#include <string>
#include <vector>

namespace {

bool iconvReadsUtf8(std::string_view text) {
  static const iconv_t decoder = iconv_open("UTF-32LE", "UTF-8");
  iconv(decoder, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> out(text.size() * 4 + 4);
  char* in = const_cast<char*>(text.data());
  char* to = out.data();
  std::size_t inLeft = text.size(), outLeft = out.size();
  return iconv(decoder, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
         inLeft == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane::listing;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK((invalidUtf8At(input) == std::string_view::npos) == iconvReadsUtf8(input));
  PricePaidRow row;
  if (!row.read(input).empty()) return 0;

  const auto& fields = row.fields();  // into the fuzzer's bytes or `row`, both kept to the end
  const Sale& sale = row.sale();
  FUZZ_CHECK(sale.status == 'A' || sale.status == 'C' || sale.status == 'D');
  FUZZ_CHECK(sale.price >= 0 && sale.price < 1'000'000'000'000'000);
  FUZZ_CHECK(sale.date >= 19950101 && sale.date <= latestSaleDate());
  FUZZ_CHECK(iconvReadsUtf8(input));
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
