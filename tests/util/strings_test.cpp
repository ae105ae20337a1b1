// The text operations a run cuts its values with.

#include "util/strings.h"

#include "support/files.h"

#include <gtest/gtest.h>
#include <string>

namespace korvane {
namespace {

using test::cp;

TEST(GetStringBetween, CutsBetweenTheMarkers) {
  const struct {
    const char* behaviour;
    std::string text, first, last;
    bool caseSensitive;
    std::string expected;
  } cases[] = {
      {"keeps a start marker at the very beginning", "Show Acacia only", "Show", "only", false,
       "Show Acacia"},
      {"a marker with a leading space skips nothing", "View: ShowXAcacia only", " Show", "only",
       false, "XAcacia"},
      {"absent start marker", "View: Show Acacia only", "Hide", "only", false, ""},
      {"empty text", "", "Show", "only", false, ""},
      {"start marker at the end", "View: Show", "Show", "only", false, ""},
      {"only the skipped character follows", "View: Show!", "Show", "only", false, ""},
      {"trims spaces only", "View: Show \tAcacia\r\n only", "Show", "only", false, "\tAcacia\r\n"},
      {"an empty end marker cuts one word", "View: Show Acacia Road", "Show", "", false, "Acacia"},
      {"an empty start marker takes the text up to the end marker", "  Acacia Road only", "",
       "only", false, "Acacia Road"},
      {"empty start marker, absent end marker", "  Acacia Road  ", "", "only", false,
       "Acacia Road"},
      {"both markers empty", "Acacia Road", "", "", false, ""},
      {"the end marker is looked for after the start marker", "only View: Show Acacia only", "Show",
       "only", false, "Acacia"},
      {"the first end marker ends the cut", "View: Show A only B only", "Show", "only", false, "A"},
      {"Windows-1252 letters fold", cp("Zone: ÉCOLE Rue Haute ONLY"), cp("école"), "only", false,
       "Rue Haute"},
      {"exact comparison when asked", "view: SHOW acacia only", "Show", "only", true, ""},
      {"exact comparison finds an exact marker", "View: Show Acacia ONLY only", "Show", "only",
       true, "Acacia ONLY"},
      {"the join form runs to the last end marker", "FROM a INNER JOIN b ON a.id = b.id ON x",
       " inner join ", " on ", false, " INNER JOIN b ON a.id = b.id On "},
      {"the join form without its end marker", "FROM a inner join b", " inner join ", " on ", false,
       "b"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetStringBetween(c.text, c.first, c.last, c.caseSensitive), c.expected)
        << c.behaviour;
  EXPECT_EQ(GetStringBetween("View: SHOW Acacia Road", "show"), "Acacia");
  const std::string filler(40'000, 'x');
  EXPECT_EQ(GetStringBetween(filler + " Show Acacia " + filler + " only", "show", "ONLY"),
            "Acacia " + filler);
}

TEST(FindText, FoldsWindows1252LettersStaysLinearAndStartsWhereAsked) {
  // Every alignment matches all but one character: the search stays linear and still finds it.
  const std::string needle = std::string(300, 'a') + "ba";
  EXPECT_EQ(findText(std::string(200'000, 'A') + "xx" + needle, needle), 200'002u);
  EXPECT_EQ(findText("only a, ONLY b", "only", 1), 8u);
  EXPECT_EQ(findText("only a, ONLY b", "only", 1, true), std::string_view::npos);
  // Windows-1252 letters fold in the block scan too; Ÿ/ÿ differ in two bits, which ß and ¿ share.
  const std::string pad(40, ',');
  for (const auto& [letter, other, same] : {std::tuple{'\x9F', '\xFF', true},
                                            {'\xC9', '\xE9', true},
                                            {'\x8A', '\x9A', true},
                                            {'\xDF', '\xFF', false},
                                            {'\xBF', '\xFF', false},
                                            {'\xD7', '\xF7', false}})
    EXPECT_EQ(findText(pad + letter + pad, std::string(1, other) + ","),
              same ? 40 : std::string_view::npos)
        << int(static_cast<unsigned char>(letter));
}

TEST(NumberOrNoNumber, SplitsDigitsFromTheOtherCharactersInOrder) {
  const struct {
    std::string text, digits, others;
  } cases[] = {{cp("£254,000"), "254000", cp("£,")},
               {"", "", ""},
               {"abc", "", "abc"},
               {" 1 2\r\n3 ", "123", "  \r\n "},
               {"\xB2\xB3", "", "\xB2\xB3"}};
  for (const auto& c : cases) {
    std::string digits = "old", others = "old";
    EXPECT_EQ(NumberOrNoNumber(c.text, true, &digits, &others), c.digits) << c.text;
    EXPECT_EQ(digits, c.digits);
    EXPECT_EQ(others, c.others);
    EXPECT_EQ(NumberOrNoNumber(c.text, false), c.others);
  }
  std::string others = "old";
  EXPECT_EQ(NumberOrNoNumber(cp("£95"), true, nullptr, &others), "95");
  EXPECT_EQ(others, cp("£"));
}

TEST(FormatTelephoneNumber, ShapesByLength) {
  const struct {
    const char* number;
    const char* expected;
  } cases[] = {{"", ""},
               {"12345", "12345"},
               {"254000", "254"},
               {"1250000", "(125) 000-0x"},
               {"1234567890", "(123) 456-7890x"},
               {"12345678901234", "(123) 456-7890x1234"}};
  for (const auto& c : cases) EXPECT_EQ(Format_Telephone_Number(c.number), c.expected);
}

}  // namespace
}  // namespace korvane
