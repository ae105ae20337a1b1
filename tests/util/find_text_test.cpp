// The case-folded search with the letters whose two cases differ in more than one bit (ÿ and Ÿ,
// 0xFF and 0x9F): bytes that share only those bits (ß 0xDF, ¿ 0xBF) are other letters.

#include "util/strings.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace korvane {
namespace {

struct FoldedCase {
  const char* behaviour;
  std::string text;
  std::string needle;
  std::size_t expected;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const FoldedCase& c, std::ostream* out) { *out << c.behaviour; }

// Texts longer than one 16-byte block, so that both the block scan and the byte scan meet them.
const std::string kPadding(20, '.');

const FoldedCase kFoldedCases[] = {
    {"a sharp s is not a y with diaeresis", "\xDF" + kPadding, "\xFF", std::string::npos},
    {"an inverted question mark is not a capital Y with diaeresis", kPadding + "\xBF", "\x9F",
     std::string::npos},
    {"the two cases of y with diaeresis find each other", kPadding + "\xDF\xBF\x9F", "\xFF", 22},
    {"a sharp s at the needle's last place does not match", kPadding + "a\xDF", "a\xFF",
     std::string::npos},
    {"a sharp s at the needle's first place does not match",
     "\xDF"
     "b" +
         kPadding,
     "\xFF"
     "b",
     std::string::npos},
    {"a match after look-alikes in the same block is found",
     "\xDF"
     "b\xBF"
     "b\x9F"
     "B" +
         kPadding,
     "\xFF"
     "b",
     4},
};

class FoldedSearch : public ::testing::TestWithParam<FoldedCase> {};

TEST_P(FoldedSearch, FindsOnlyTheSameLetterInEitherCase) {
  const FoldedCase& c = GetParam();
  EXPECT_EQ(findText(c.text, c.needle), c.expected) << c.behaviour;
  // The cut built on the search agrees: nothing is found, or the text after the letter.
  const std::string cut = GetStringBetween(c.text, c.needle, "#");
  if (c.expected == std::string::npos) {
    EXPECT_EQ(cut, "") << c.behaviour;
  }
}

INSTANTIATE_TEST_SUITE_P(ByteCases, FoldedSearch, ::testing::ValuesIn(kFoldedCases));

TEST(GetStringBetween, JoinFormWithoutTheClosingMarkerGivesTheRemainder) {
  EXPECT_EQ(GetStringBetween("select a inner join b where x", " inner join ", " on "), "b where x");
}

}  // namespace
}  // namespace korvane
