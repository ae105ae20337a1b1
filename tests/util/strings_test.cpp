#include "util/strings.h"

#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>

namespace korvane {
namespace {

// --- GetStringBetween ------------------------------------------------------------------------

struct BetweenCase {
  const char* behaviour;
  std::string text;
  std::string first;
  std::string last;
  bool caseSensitive;
  std::string expected;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const BetweenCase& c, std::ostream* out) { *out << c.behaviour; }

const BetweenCase kBetweenCases[] = {
    {"skips the character right after the start marker", "View: Show Acacia Road only", "Show",
     "only", false, "Acacia Road"},
    {"skips a price digit after the pound sign",
     "Price \xA3"
     "250,000 Buying a home?",
     "\xA3", "Buying a home?", false, "50,000"},
    {"keeps a start marker found at position 1", "Show Acacia Road only", "Show", "only", false,
     "Show Acacia Road"},
    {"a start marker with a leading space skips nothing after it", "View: ShowXAcacia only",
     " Show", "only", false, "XAcacia"},
    {"gives empty when the start marker is absent", "View: Show Acacia Road only", "Hide", "only",
     false, ""},
    {"gives empty for an empty text", "", "Show", "only", false, ""},
    {"gives empty when the start marker ends the text", "View: Show", "Show", "only", false, ""},
    {"gives empty when only the skipped character follows", "View: Show!", "Show", "only", false,
     ""},
    {"runs to the end when the end marker is absent", "View: Show Acacia Road  ", "Show", "only",
     false, "Acacia Road"},
    {"trims spaces only, keeping tabs and line ends", "View: Show \tAcacia\r\n only", "Show",
     "only", false, "\tAcacia\r\n"},
    {"an empty end marker cuts the first word", "View: Show Acacia Road only", "Show", "", false,
     "Acacia"},
    {"an empty start marker takes the text up to the end marker", "  Acacia Road only here", "",
     "only", false, "Acacia Road"},
    {"an empty start marker without end marker gives the text trimmed", "  Acacia Road  ", "",
     "only", false, "Acacia Road"},
    {"both markers empty give empty", "Acacia Road", "", "", false, ""},
    {"looks for the end marker only after the start marker", "only View: Show Acacia only", "Show",
     "only", false, "Acacia"},
    {"stops at the first end marker", "View: Show Acacia only Road only", "Show", "only", false,
     "Acacia"},
    {"matches markers without regard to case", "view: SHOW acacia road ONLY", "Show", "only", false,
     "acacia road"},
    {"folds Windows-1252 letters",
     "Zone: \xC9"
     "COLE Rue Haute ONLY",
     "\xE9"
     "cole",
     "only", false, "Rue Haute"},
    {"compares exactly when asked to", "view: SHOW acacia road only", "Show", "only", true, ""},
    {"exact comparison finds an exact marker", "View: Show Acacia ONLY only", "Show", "only", true,
     "Acacia ONLY"},
    {"joins from the start marker to the last end marker",
     "SELECT * FROM a INNER JOIN b ON a.id = b.id ON x", " inner join ", " on ", false,
     " INNER JOIN b ON a.id = b.id On "},
    {"join without an end marker gives the remainder", "FROM a inner join b", " inner join ",
     " on ", false, "b"},
};

class GetStringBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(GetStringBetweenTest, CutsAsTheRulesSay) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(GetStringBetween(c.text, c.first, c.last, c.caseSensitive), c.expected) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(Rules, GetStringBetweenTest, testing::ValuesIn(kBetweenCases));

TEST(GetStringBetween, FindsMarkersFarBeyondSixteenBitPositions) {
  const std::string filler(40'000, 'x');
  const std::string text = filler + " View: Show Acacia Road " + filler + " only";
  EXPECT_EQ(GetStringBetween(text, "show", "ONLY"), "Acacia Road " + filler);
  EXPECT_EQ(GetStringBetween(text, "", "only"), filler + " View: Show Acacia Road " + filler);
}

TEST(GetStringBetween, DefaultsToCaseInsensitiveWithAOneSpaceEndMarker) {
  EXPECT_EQ(GetStringBetween("View: SHOW Acacia Road", "show"), "Acacia");
}

// --- findText --------------------------------------------------------------------------------

std::size_t naiveFoldedFind(std::string_view text, std::string_view needle) {
  auto lower = [](unsigned char c) -> unsigned char {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;  // Š Œ Ž
    if (c == 0x9F) return 0xFF;                              // Ÿ
    return c;
  };
  for (std::size_t pos = 0; pos + needle.size() <= text.size(); ++pos) {
    bool same = true;
    for (std::size_t i = 0; i < needle.size() && same; ++i) {
      same = lower(text[pos + i]) == lower(needle[i]);
    }
    if (same) return pos;
  }
  return std::string_view::npos;
}

TEST(FindText, AgreesWithAPlainSearchOnRandomTexts) {
  std::mt19937 random(20261206);
  const std::string alphabet = "aAbB\xC9\xE9\x8A\x9A\x9F\xFF\xD7\xF7 ,";
  auto randomText = [&](std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string text = randomText(random() % 200);
    const std::string needle = randomText(1 + random() % 6);
    ASSERT_EQ(findText(text, needle), naiveFoldedFind(text, needle))
        << "text «" << text << "» needle «" << needle << "»";
  }
}

TEST(FindText, FindsAMarkerInTextsThatDefeatSkipping) {
  // Every alignment matches all but one character: the search must still find the marker.
  const std::string needle = std::string(300, 'a') + "ba";
  const std::string text = std::string(200'000, 'A') + "xx" + needle + "tail";
  EXPECT_EQ(findText(text, needle), 200'002u);
  EXPECT_EQ(findText(std::string(200'000, 'a'), needle), std::string_view::npos);
}

TEST(FindText, StartsAtTheGivenPosition) {
  EXPECT_EQ(findText("only a, ONLY b", "only", 1), 8u);
  EXPECT_EQ(findText("only a, ONLY b", "only", 1, true), std::string_view::npos);
}

// --- NumberOrNoNumber ------------------------------------------------------------------------

struct SplitCase {
  std::string text;
  std::string digits;
  std::string others;
};

// Printed by its input: gtest would otherwise dump the bytes of the whole case, the unused
// parts of its strings' buffers included.
void PrintTo(const SplitCase& c, std::ostream* out) { *out << ::testing::PrintToString(c.text); }

const SplitCase kSplitCases[] = {
    {"\xA3"
     "254,000",
     "254000", "\xA3,"},
    {"\xA3"
     "000,000",
     "000000", "\xA3,"},
    {"", "", ""},
    {"abc", "", "abc"},
    {" 1 2\r\n3 ", "123", "  \r\n "},
    {"\xB2\xB3", "", "\xB2\xB3"},  // superscript digits are not digits
};

class NumberOrNoNumberTest : public testing::TestWithParam<SplitCase> {};

TEST_P(NumberOrNoNumberTest, SplitsDigitsFromOtherCharactersInOrder) {
  const SplitCase& c = GetParam();
  std::string digits = "old digits";
  std::string others = "old others";
  EXPECT_EQ(NumberOrNoNumber(c.text, true, &digits, &others), c.digits);
  EXPECT_EQ(digits, c.digits);
  EXPECT_EQ(others, c.others);
  EXPECT_EQ(NumberOrNoNumber(c.text, false), c.others);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberOrNoNumberTest, testing::ValuesIn(kSplitCases));

TEST(NumberOrNoNumber, SplitsTextsLongerThanSixteenBitLengths) {
  std::string text;
  for (int i = 0; i < 20'000; ++i) text += "7,";
  std::string digits;
  std::string others;
  NumberOrNoNumber(text, true, &digits, &others);
  EXPECT_EQ(digits, std::string(20'000, '7'));
  EXPECT_EQ(others, std::string(20'000, ','));
}

TEST(NumberOrNoNumber, WritesOnlyTheTargetsGiven) {
  std::string others = "old";
  EXPECT_EQ(NumberOrNoNumber("\xA3"
                             "95",
                             true, nullptr, &others),
            "95");
  EXPECT_EQ(others, "\xA3");
}

// --- Format_Telephone_Number -----------------------------------------------------------------

struct TelephoneCase {
  std::string number;
  std::string expected;
};

// Printed by its input: gtest would otherwise dump the bytes of the whole case, the unused
// parts of its strings' buffers included.
void PrintTo(const TelephoneCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.number);
}

const TelephoneCase kTelephoneCases[] = {
    {"", ""},
    {"12345", "12345"},
    {"99750", "99750"},
    {"254000", "254"},
    {"262500", "262"},
    {"1250000", "(125) 000-0x"},
    {"1000000", "(100) 000-0x"},
    {"1234567890", "(123) 456-7890x"},
    {"01234567890", "(012) 345-6789x0"},
    {"12345678901234", "(123) 456-7890x1234"},
};

class FormatTelephoneNumberTest : public testing::TestWithParam<TelephoneCase> {};

TEST_P(FormatTelephoneNumberTest, ShapesByLength) {
  EXPECT_EQ(Format_Telephone_Number(GetParam().number), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, FormatTelephoneNumberTest, testing::ValuesIn(kTelephoneCases));

}  // namespace
}  // namespace korvane
