#include "front/request_address.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct EncodeCase {
  const char* behaviour;
  std::string_view text;
  std::string_view encoded;
};

const EncodeCase kEncodeCases[] = {
    {"a plain post code stays as typed", "AB12CD", "AB12CD"},
    {"lower case is not upper-cased", "ab1 2cd", "ab1%202cd"},
    {"leading and trailing spaces are kept", " AB1 ", "%20AB1%20"},
    {"unreserved punctuation stays", "-._~", "-._~"},
    {"query delimiters cannot add parameters", "AB1&x=1", "AB1%26x%3D1"},
    {"fragment, plus, slash and question mark are encoded", "#+/?", "%23%2B%2F%3F"},
    {"a percent sign is encoded, not taken as an escape", "%20", "%2520"},
    {"CR and LF cannot split the request", "AB1\r\nHost: x", "AB1%0D%0AHost%3A%20x"},
    {"bytes above 0x7F are encoded as themselves",
     "\xA3"
     "1",
     "%A31"},
    {"a NUL byte is encoded", std::string_view("A\0B", 3), "A%00B"},
    {"empty stays empty", "", ""},
};

TEST(RequestAddress, EncodesThePostCodeAsOneQueryValue) {
  for (const EncodeCase& c : kEncodeCases) {
    EXPECT_EQ(encodeQueryValue(c.text), c.encoded) << c.behaviour;
  }
}

TEST(RequestAddress, AppendsTheEncodedPostCodeToTheListingPath) {
  EXPECT_EQ(soldPricesAddress("http://127.0.0.1:8631", "AB1 2&x=1"),
            "http://127.0.0.1:8631/index.php?con=sold_prices_street&cCode=EW&postcode="
            "AB1%202%26x%3D1");
}

}  // namespace
}  // namespace korvane
