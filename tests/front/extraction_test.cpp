// Cutting the street and its average out of the stripped page, and the figures derived from it.

#include "front/extraction.h"

#include "front/figures.h"
#include "front/money_text.h"
#include "support/files.h"
#include "util/run_buffer.h"

#include <gtest/gtest.h>
#include <map>

namespace korvane {
namespace {

using test::cp;

TEST(Extraction, CutsTheStreetAndItsAverageInThousands) {
  const struct {
    const char* behaviour;
    std::string page;
    std::map<std::string, std::string> fields;
  } cases[] = {
      {"a listing page",
       cp("Home Acacia Avenue, Anytown\r\n Sold house prices in post codes "
          "starting AB1 2\r\n Filter: Show Acacia Avenue only | Show all\r\n"
          " 12 Acacia Avenue £180,000\r\n Acacia Avenue,   £250,000 over 12 "
          "sales\r\n Acacia Close, £410,000\r\n Buying a home? Compare\r\n"),
       {{"txt_housetext2", "Acacia Avenue"},
        {"txt_avgclose", cp("£250")},
        {"txt_num", "250"},
        {"txt_num1", cp("£")},
        {"lbl_avghouseprice", cp("£250,000")},
        {"GPH_Houseprice", "250"},
        {"lbl_streetname", "Acacia Avenue"}}},
      {"no pound sign",
       "post codes starting AB1 Show A Road only A Road, 250,000 Buying a home?",
       {{"txt_housetext2", "A Road"}, {"txt_houseprices", ""}, {"txt_num", ""}}},
      {"markers in any case",
       cp("POST CODES STARTING AB1 SHOW A Road ONLY £1,000 a road, £275,000 BUYING A HOME?"),
       {{"txt_housetext2", "A Road"}, {"txt_num", "275"}}},
      {"the street before the first pound sign never counts",
       cp("post codes starting AB1 Show A Road only A Road, 999,000 £5,000 A Road, £250,000 "
          "Buying a home?"),
       {{"txt_num", "250"}}},
      {"without a street the first two commas give the average",
       cp("no heading £180,000 sold, £250,000 Buying a home?"),
       {{"txt_housetext", ""}, {"txt_avgclose", "00 sold"}, {"txt_num", "00"}}},
      {"without the closing notice the cuts run to the end",
       cp("post codes starting AB1 Show A Road only £180,000 A Road, £250,000 end"),
       {{"txt_houseprices", cp("80,000 A Road, £250,000 end")}, {"txt_num", "250"}}},
      {"a million or more keeps every group of thousands",
       cp("post codes starting AB1 Show A Road only £1,180,000 A Road, £12,345,000, more"),
       {{"txt_avgclose", cp("£12,345")},
        {"txt_num", "12345"},
        {"txt_num1", cp("£,")},
        {"lbl_avghouseprice", cp("£12,345,000")}}},
      {"a price of millions at the very end of the page",
       cp("post codes starting AB1 Show A Road only £180,000 A Road, £1,250,000"),
       {{"txt_num", "1250"}}},
      {"a price of millions without its pound sign",
       cp("post codes starting AB1 Show A Road only £180,000 A Road, 1,250,000 Buying a home?"),
       {{"txt_num", "1250"}}},
      {"a group is a comma and three digits",
       cp("post codes starting AB1 Show A Road only £180,000 A Road, £95,000,-50 Buying a home?"),
       {{"txt_num", "95"}}},
      {"a comma list after the price is not a group",
       cp("post codes starting AB1 Show A Road only £1 in A Road, £95,000,12 sales Buying a home?"),
       {{"txt_num", "95"}, {"lbl_avghouseprice", cp("£95,000")}}},
  };
  for (const auto& c : cases) {
    RunBuffer buffer;
    buffer.setText("txt_nohtmlsource", c.page);
    cutStreetAndAverage(buffer);
    publishExtraction(buffer);
    for (const auto& [field, value] : c.fields)
      EXPECT_EQ(buffer.text(field), value) << c.behaviour << ": " << field;
  }
}

TEST(Extraction, SplitsTheOwnersValuationIntoDigitsAndTheRest) {
  RunBuffer buffer;
  splitValuation(buffer, cp("about £300k"));
  EXPECT_EQ(buffer.text("txt_estdval"), "300");
  EXPECT_EQ(buffer.text("txt_dump"), cp("about £k"));
}

TEST(Figures, ForecastFivePerCentOfTheAverageAYear) {
  const struct {
    const char* thousands;
    const char *owner, *market, *fiveYearsAgo;
    ReportTexts report;
  } cases[] = {
      // The largest average whose pounds fit 32 bits, and one beyond: no step then.
      {"2147483",
       "2147483,2254857,2362231,2469605,2576979,2684353",
       "2254859,2362237,2469608,2576980,2684353,2684353,2684356,2684354,2684355",
       "2040108",
       {cp("£2,147,483,000"), cp("£2,684,353,000"), cp("£2,040,108,000"), "107374150"}},
      {"2147484",
       "2147484,2147484,2147484,2147484,2147484,2147484",
       "2147486,2147490,2147487,2147485,2147484,2147484,2147487,2147485,2147486",
       "2147484",
       {cp("£2,147,484,000"), cp("£2,147,484,000"), cp("£2,147,484,000"), "0"}},
  };
  for (const auto& c : cases) {
    RunBuffer buffer;
    buffer.setText("txt_num", c.thousands);
    publishExtraction(buffer);
    const ReportTexts report = computeFigures(buffer);
    EXPECT_EQ(buffer.text("gph_array"), c.owner) << c.thousands;
    EXPECT_EQ(buffer.text("gph_marketarray"), c.market) << c.thousands;
    EXPECT_EQ(buffer.text("txt_5years"), c.fiveYearsAgo) << c.thousands;
    EXPECT_EQ(std::tie(report.average, report.inFiveYears, report.fiveYearsAgo, report.yearlyStep),
              std::tie(c.report.average, c.report.inFiveYears, c.report.fiveYearsAgo,
                       c.report.yearlyStep))
        << c.thousands;
  }
}

TEST(Figures, AStepThatFailsLeavesNothingOfAnEarlierRun) {
  RunBuffer buffer;
  buffer.setText("txt_num", "250");
  computeFigures(buffer);
  // Beyond a double every figure is skipped and reads as 0, never as the earlier run's.
  buffer.setText("txt_num", "1" + std::string(320, '0'));
  const ReportTexts report = computeFigures(buffer);
  EXPECT_EQ(std::tie(report.inFiveYears, report.fiveYearsAgo, report.yearlyStep),
            std::make_tuple(cp("£0,000"), cp("£0,000"), std::string("0")));
  // Beyond 32 bits the one per cent cannot be computed: it stays empty.
  buffer.setText("txt_num", "3000000");
  FigureSteps beyond(buffer);
  beyond.averageInPounds();
  beyond.yearlyFigures();
  EXPECT_EQ(beyond.onePercent(), "");
  // The market series is read before the run's pause and written after it.
  buffer.setText("txt_num", "250");
  FigureSteps steps(buffer);
  steps.averageInPounds();
  steps.yearlyFigures();
  steps.storeThousands();
  steps.readMarketSeries();
  buffer.setText("GPH_5year", "999");
  steps.writeMarketSeries();
  EXPECT_EQ(buffer.text("gph_marketarray"), "264,281,290,301,312,312,315,313,314");
}

TEST(MoneyText, PutsThousandsThatAreNotDigitsInUnchanged) {
  EXPECT_EQ(moneyText("(100) 000-0x"), cp("£(100) 000-0x,000"));
}

}  // namespace
}  // namespace korvane
