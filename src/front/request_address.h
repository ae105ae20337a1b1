#pragma once

// The address of the sold-prices page for a post code.

#include <string>
#include <string_view>

namespace korvane {

// text percent-encoded as one URL query value: the unreserved bytes A-Z a-z 0-9 - . _ ~ stay,
// every other byte (space, & # + / ? =, CR, LF, controls, bytes above 0x7F) becomes %XX with
// upper-case hex digits. Never fails.
std::string encodeQueryValue(std::string_view text);

// listingHost + "/index.php?con=sold_prices_street&cCode=EW&postcode=" + the encoded post code.
// The post code is otherwise taken as typed (not trimmed, not upper-cased). Never fails.
std::string soldPricesAddress(std::string_view listingHost, std::string_view postcode);

}  // namespace korvane
