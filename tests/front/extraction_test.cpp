#include "front/extraction.h"

#include "util/run_buffer.h"

#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>

namespace korvane {
namespace {

// Lines joined with CR LF, as the stripped page reaches the run buffer.
std::string strippedPage(std::initializer_list<std::string_view> lines) {
  std::string page;
  for (std::string_view line : lines) {
    page += line;
    page += "\r\n";
  }
  return page;
}

using Fields = std::map<std::string, std::string>;

void expectFields(const RunBuffer& buffer, const Fields& expected) {
  for (const auto& [field, value] : expected) {
    EXPECT_EQ(buffer.text(field), value) << field;
  }
}

RunBuffer extractedFrom(const std::string& page) {
  RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", page);
  extractSoldPrices(buffer);
  return buffer;
}

// A listing page after its markup was replaced by spaces: navigation, the search heading, the
// street filter, the sold prices with the street's average, then the closing notices.
const std::string kListingPage = strippedPage({
    "   Home    Sold prices    Acacia Avenue, Anytown    Sign in   ",
    "  ",
    "   Sold house prices in post codes starting AB1 2  ",
    "   Filter:   Show   Acacia Avenue   only    |   Show all streets  ",
    "   Recent sales  ",
    "   12 Acacia Avenue    Semi-Detached    3 bed    \xA3"
    "180,000    14 Mar 2019  ",
    "   41 Acacia Avenue    Terraced    2 bed    \xA3"
    "312,500    02 Nov 2021  ",
    "   Average sold price  ",
    "   Acacia Avenue,   \xA3"
    "250,000    over 12 sales  ",
    "   Acacia Close,   \xA3"
    "410,000  ",
    "   Buying a home?   Compare mortgages  ",
    "   \xA9 2026 Listing  ",
});

TEST(Extraction, CutsStreetAndAverageFromAListingPage) {
  RunBuffer buffer = extractedFrom(kListingPage);
  expectFields(buffer, {
                           {"txt_housetext2", "Acacia Avenue"},
                           {"txt_avgclose",
                            "\xA3"
                            "250"},
                           {"txt_num", "250"},
                           {"txt_num1", "\xA3"},
                           {"lbl_avghouseprice",
                            "\xA3"
                            "250,000"},
                           {"GPH_Houseprice", "250"},
                           {"lbl_streetname", "Acacia Avenue"},
                       });
  // The cuts between the heading, the first pound sign and the closing notice.
  EXPECT_TRUE(buffer.text("txt_housetext").starts_with("AB1 2  \r\n   Filter:"));
  EXPECT_TRUE(buffer.text("txt_housetext")
                  .ends_with("\xA3"
                             "410,000  \r\n"));
  EXPECT_TRUE(buffer.text("txt_houseprices").starts_with("80,000    14 Mar 2019"));
  EXPECT_TRUE(buffer.text("txt_houseprices")
                  .ends_with("\xA3"
                             "410,000  \r\n"));
}

struct PageCase {
  const char* behaviour;
  std::string page;
  Fields expected;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const PageCase& c, std::ostream* out) { *out << c.behaviour; }

const PageCase kPageCases[] = {
    {"the illustrative page gives the street and its average",
     "post codes starting AB1 ... Show Acacia Avenue only ... \xA3"
     "180,000 ... Acacia Avenue, "
     "\xA3"
     "250,000 ... Buying a home? ...",
     {{"txt_housetext2", "Acacia Avenue"},
      {"txt_avgclose",
       "\xA3"
       "250"},
      {"txt_num", "250"},
      {"lbl_avghouseprice",
       "\xA3"
       "250,000"}}},
    {"an empty page empties every cut and leaves the bare money text",
     "",
     {{"txt_housetext", ""},
      {"txt_housetext2", ""},
      {"txt_houseprices", ""},
      {"txt_avgclose", ""},
      {"txt_num", ""},
      {"txt_num1", ""},
      {"lbl_avghouseprice", "\xA3,000"},
      {"GPH_Houseprice", ""},
      {"lbl_streetname", ""}}},
    {"a page without a pound sign has no average",
     "post codes starting AB1 Show Acacia Avenue only Acacia Avenue, 250,000 Buying a home?",
     {{"txt_housetext2", "Acacia Avenue"},
      {"txt_houseprices", ""},
      {"txt_num", ""},
      {"lbl_avghouseprice", "\xA3,000"}}},
    {"markers match without regard to case",
     "POST CODES STARTING AB1 SHOW Acacia Avenue ONLY \xA3"
     "1,000 acacia avenue, \xA3"
     "275,000 "
     "BUYING A HOME?",
     {{"txt_housetext2", "Acacia Avenue"}, {"txt_num", "275"}}},
    {"a mention of the street before the first pound sign never counts",
     "post codes starting AB1 Show Acacia Avenue only Acacia Avenue, 999,000 \xA3"
     "5,000 "
     "Acacia Avenue, \xA3"
     "250,000 Buying a home?",
     {{"txt_num", "250"}}},
    {"without a street the average comes from the first two commas",
     "no heading here \xA3"
     "180,000 sold, \xA3"
     "250,000 Buying a home?",
     {{"txt_housetext", ""},
      {"txt_housetext2", ""},
      {"txt_avgclose", "00 sold"},
      {"txt_num", "00"}}},
    {"without the closing notice the cuts run to the end of the page",
     "post codes starting AB1 Show Acacia Avenue only \xA3"
     "180,000 Acacia Avenue, \xA3"
     "250,000 "
     "end",
     {{"txt_housetext2", "Acacia Avenue"},
      {"txt_houseprices",
       "80,000 Acacia Avenue, \xA3"
       "250,000 end"},
      {"txt_num", "250"}}},
    {"an average of a million or more keeps all its thousands",
     "post codes starting AB1 Show Acacia Avenue only \xA3"
     "1,180,000 Acacia Avenue, "
     "\xA3"
     "1,250,000 Buying a home?",
     {{"txt_avgclose",
       "\xA3"
       "1,250"},
      {"txt_num", "1250"},
      {"txt_num1", "\xA3,"},
      {"lbl_avghouseprice",
       "\xA3"
       "1,250,000"},
      {"GPH_Houseprice", "1250"}}},
    {"an average of ten million keeps both leading groups",
     "post codes starting AB1 Show Mill Lane only \xA3"
     "1 sold in Mill Lane, \xA3"
     "12,345,000, more "
     "Buying a home?",
     {{"txt_avgclose",
       "\xA3"
       "12,345"},
      {"lbl_avghouseprice",
       "\xA3"
       "12,345,000"}}},
    {"a small average is unchanged",
     "post codes starting AB1 Show Mill Lane only \xA3"
     "1 sold in Mill Lane, \xA3"
     "95,000 Buying a home?",
     {{"txt_num", "95"},
      {"lbl_avghouseprice",
       "\xA3"
       "95,000"}}},
    {"a comma list after the price does not extend the cut",
     "post codes starting AB1 Show Mill Lane only \xA3"
     "1 sold in Mill Lane, \xA3"
     "95,000,12 sales "
     "Buying a home?",
     {{"txt_num", "95"}}},
};

class ExtractionPageTest : public testing::TestWithParam<PageCase> {};

TEST_P(ExtractionPageTest, FillsTheFields) {
  SCOPED_TRACE(GetParam().behaviour);
  expectFields(extractedFrom(GetParam().page), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pages, ExtractionPageTest, testing::ValuesIn(kPageCases));

TEST(Extraction, FindsMarkersFarIntoALongPage) {
  const std::string filler(50'000, 'x');
  RunBuffer buffer =
      extractedFrom(filler + " post codes starting AB1 Show Acacia Avenue only " + filler +
                    " \xA3"
                    "180,000 " +
                    filler +
                    " Acacia Avenue, \xA3"
                    "250,000 Buying a home?");
  expectFields(buffer, {{"lbl_streetname", "Acacia Avenue"}, {"txt_num", "250"}});
}

TEST(Extraction, StepsCanRunApartWithTheCutsUnpublishedInBetween) {
  RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", kListingPage);
  cutStreetAndAverage(buffer);
  EXPECT_EQ(buffer.text("txt_num"), "250");
  expectFields(buffer, {{"lbl_avghouseprice", "\xA3"}, {"lbl_streetname", "NULL"}});
  publishExtraction(buffer);
  expectFields(buffer, {{"lbl_avghouseprice",
                         "\xA3"
                         "250,000"},
                        {"lbl_streetname", "Acacia Avenue"}});
}

struct ValuationCase {
  std::string typed;
  std::string digits;
  std::string others;
};

// Printed by its input: gtest would otherwise dump the bytes of the whole case, the unused
// parts of its strings' buffers included.
void PrintTo(const ValuationCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.typed);
}

const ValuationCase kValuationCases[] = {
    {"\xA3"
     "250,000",
     "250000", "\xA3,"},
    {"\xA3"
     "000,000",
     "000000", "\xA3,"},
    {"", "", ""},
    {"about 300k", "300", "about k"},
};

class SplitValuationTest : public testing::TestWithParam<ValuationCase> {};

TEST_P(SplitValuationTest, SplitsTheOwnersValuation) {
  RunBuffer buffer;
  splitValuation(buffer, GetParam().typed);
  expectFields(buffer, {{"txt_estdval", GetParam().digits}, {"txt_dump", GetParam().others}});
}

INSTANTIATE_TEST_SUITE_P(Typed, SplitValuationTest, testing::ValuesIn(kValuationCases));

}  // namespace
}  // namespace korvane
