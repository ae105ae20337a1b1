#include "util/codepage.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(Codepage, MapsTheHighBytesThroughTheWindowsTable) {
  static const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {"\xA3" "250,000", "£250,000"},
      {"\x80", "€"},
      {"\x93quoted\x94", "“quoted”"},
      {"\x9F", "Ÿ"},
      {"\xE9", "é"},
      {"plain", "plain"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8);
    EXPECT_EQ(utf8ToCp1252(c.utf8), c.bytes);
  }
}

TEST(Codepage, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Codepage, UnmappableOrInvalidBecomesAQuestionMark) {
  EXPECT_EQ(utf8ToCp1252("ŵ"), "?");
  EXPECT_EQ(utf8ToCp1252("a\xFF" "b"), "a?b");
  EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");  // overlong
  EXPECT_EQ(utf8ToCp1252("😀"), "?");
}

TEST(Codepage, ShowsPageTextAsUtf8OnlyWhenItIsMultiByteUtf8) {
  EXPECT_EQ(displayUtf8("Heol y Ffynnon Ddŵr"), "Heol y Ffynnon Ddŵr");
  EXPECT_EQ(displayUtf8("\xA3" "250"), "£250");  // a lone 0xA3 is not UTF-8
  EXPECT_EQ(displayUtf8("ASCII only"), "ASCII only");
  EXPECT_FALSE(isMultiByteUtf8("ASCII only"));
  EXPECT_TRUE(isMultiByteUtf8("£"));
}

}  // namespace
}  // namespace korvane
