#include "front/request_address.h"

#include "util/percent_encoding.h"

namespace korvane {

namespace {

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string encodeQueryValue(std::string_view text) { return percentEncode(text, isUnreserved); }

std::string soldPricesAddress(std::string_view listingHost, std::string_view postcode) {
  std::string address(listingHost);
  address += "/index.php?con=sold_prices_street&cCode=EW&postcode=";
  address += encodeQueryValue(postcode);
  return address;
}

}  // namespace korvane
