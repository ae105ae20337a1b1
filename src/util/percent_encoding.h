#pragma once

// Percent-encoding of the bytes that may not stand as they are in a web address.

#include <string>
#include <string_view>

namespace korvane {

// text with every byte for which keep() is false written as '%' and two upper-case hex digits.
std::string percentEncode(std::string_view text, bool (*keep)(unsigned char byte));

}  // namespace korvane
