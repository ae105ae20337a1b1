#include "front/request_address.h"

namespace korvane {

namespace {

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string encodeQueryValue(std::string_view text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (isUnreserved(c)) {
      out += ch;
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 0x0F];
    }
  }
  return out;
}

std::string soldPricesAddress(std::string_view listingHost, std::string_view postcode) {
  std::string address(listingHost);
  address += "/index.php?con=sold_prices_street&cCode=EW&postcode=";
  address += encodeQueryValue(postcode);
  return address;
}

}  // namespace korvane
