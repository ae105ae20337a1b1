#include "front/figures.h"

#include "front/extraction.h"
#include "front/money_text.h"
#include "util/run_buffer.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace korvane {
namespace {

// A buffer as the extraction leaves it for the given average in thousands.
RunBuffer bufferWithAverage(const std::string& thousands) {
  RunBuffer buffer;
  buffer.setText("txt_num", thousands);
  publishExtraction(buffer);
  return buffer;
}

struct FigureCase {
  const char* behaviour;
  std::string thousands;
  std::string yearly;        // gph_array
  std::string market;        // gph_marketarray
  std::string fiveYearsAgo;  // txt_5years
  ReportTexts report;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const FigureCase& c, std::ostream* out) { *out << c.behaviour; }

const FigureCase kFigureCases[] = {
    {"a typical average: thousands are truncated, never rounded",
     "250",
     "250,262,275,287,300,312",
     "264,281,290,301,312,312,315,313,314",
     "237",
     {"\xA3"
      "250,000",
      "\xA3"
      "312,000",
      "\xA3"
      "237,000",
      "12500"}},
    {"a small average still gives whole thousands",
     "95",
     "95,99,104,109,114,118",
     "101,110,112,115,118,118,121,119,120",
     "90",
     {"\xA3"
      "95,000",
      "\xA3"
      "118,000",
      "\xA3"
      "90,000",
      "4750"}},
    {"figures of seven digits keep all their thousands",
     "800",
     "800,840,880,920,960,1000",
     "842,886,923,961,1000,1000,1003,1001,1002",
     "760",
     {"\xA3"
      "800,000",
      "\xA3"
      "1,000,000",
      "\xA3"
      "760,000",
      "40000"}},
    {"an average of a million or more",
     "1250",
     "1250,1312,1375,1437,1500,1562",
     "1314,1381,1440,1501,1562,1562,1565,1563,1564",
     "1187",
     {"\xA3"
      "1,250,000",
      "\xA3"
      "1,562,000",
      "\xA3"
      "1,187,000",
      "62500"}},
    {"no average gives zero figures",
     "",
     ",0,0,0,0,0",
     "2,6,3,1,0,0,3,1,2",
     "0",
     {"\xA3,000",
      "\xA3"
      "0,000",
      "\xA3"
      "0,000",
      "0"}},
    {"the largest average whose pounds fit 32 bits",
     "2147483",
     "2147483,2254857,2362231,2469605,2576979,2684353",
     "2254859,2362237,2469608,2576980,2684353,2684353,2684356,2684354,2684355",
     "2040108",
     {"\xA3"
      "2,147,483,000",
      "\xA3"
      "2,684,353,000",
      "\xA3"
      "2,040,108,000",
      "107374150"}},
    {"an average beyond 32 bits has no step: every figure equals the average",
     "2147484",
     "2147484,2147484,2147484,2147484,2147484,2147484",
     "2147486,2147490,2147487,2147485,2147484,2147484,2147487,2147485,2147486",
     "2147484",
     {"\xA3"
      "2,147,484,000",
      "\xA3"
      "2,147,484,000",
      "\xA3"
      "2,147,484,000",
      "0"}},
};

class FiguresTest : public testing::TestWithParam<FigureCase> {};

TEST_P(FiguresTest, ComputesSeriesAndReportTexts) {
  const FigureCase& c = GetParam();
  SCOPED_TRACE(c.behaviour);
  RunBuffer buffer = bufferWithAverage(c.thousands);
  ReportTexts report = computeFigures(buffer);
  EXPECT_EQ(buffer.text("gph_array"), c.yearly);
  EXPECT_EQ(buffer.text("gph_marketarray"), c.market);
  EXPECT_EQ(buffer.text("txt_5years"), c.fiveYearsAgo);
  EXPECT_EQ(report.average, c.report.average);
  EXPECT_EQ(report.inFiveYears, c.report.inFiveYears);
  EXPECT_EQ(report.fiveYearsAgo, c.report.fiveYearsAgo);
  EXPECT_EQ(report.yearlyStep, c.report.yearlyStep);
}

INSTANTIATE_TEST_SUITE_P(Averages, FiguresTest, testing::ValuesIn(kFigureCases));

TEST(Figures, WorkedExampleFromPageToReport) {
  RunBuffer buffer;
  buffer.setText("txt_nohtmlsource",
                 "post codes starting AB1\r\nShow Acacia Avenue only\r\n\xA3"
                 "180,000\r\n"
                 "Acacia Avenue, \xA3"
                 "250,000\r\nBuying a home?\r\n");
  extractSoldPrices(buffer);
  FigureSteps steps(buffer);
  steps.averageInPounds();
  EXPECT_EQ(steps.average(), "250000");
  steps.yearlyFigures();
  EXPECT_EQ(steps.onePercent(), "2500");
  EXPECT_EQ(steps.yearlyStep(), "12500");
  EXPECT_EQ(steps.years(),
            (std::array<std::string, 5>{"262500", "275000", "287500", "300000", "312500"}));
  EXPECT_EQ(steps.stepBelow(), "237500");
  steps.storeThousands();
  for (auto [field, value] : {std::pair{"GPH_1year", "262"},
                              {"gph_2year", "275"},
                              {"gph_3year", "287"},
                              {"Gph_4year", "300"},
                              {"GPH_5year", "312"},
                              {"txt_5years", "237"}}) {
    EXPECT_EQ(buffer.text(field), value) << field;
  }
  steps.buildOwnerSeries();
  steps.readMarketSeries();
  steps.writeMarketSeries();
  EXPECT_EQ(buffer.text("gph_array"), "250,262,275,287,300,312");
  EXPECT_EQ(buffer.text("gph_marketarray"), "264,281,290,301,312,312,315,313,314");
  ReportTexts report = steps.reportTexts();
  EXPECT_EQ(report.average,
            "\xA3"
            "250,000");
  EXPECT_EQ(report.inFiveYears,
            "\xA3"
            "312,000");
  EXPECT_EQ(report.fiveYearsAgo,
            "\xA3"
            "237,000");
}

TEST(Figures, AbandonedOnePercentLeavesNothingFromAnEarlierRun) {
  RunBuffer buffer = bufferWithAverage("250");
  computeFigures(buffer);
  buffer.setText("txt_num", "3000000");
  publishExtraction(buffer);
  FigureSteps steps(buffer);
  steps.averageInPounds();
  steps.yearlyFigures();
  EXPECT_EQ(steps.onePercent(), "");
  EXPECT_EQ(steps.yearlyStep(), "0");
  EXPECT_EQ(steps.stepBelow(), "3000000000");
}

TEST(Figures, MarketSeriesIsReadBeforeThePause) {
  RunBuffer buffer = bufferWithAverage("250");
  FigureSteps steps(buffer);
  steps.averageInPounds();
  steps.yearlyFigures();
  steps.storeThousands();
  steps.readMarketSeries();
  buffer.setText("GPH_5year", "999");
  steps.writeMarketSeries();
  EXPECT_EQ(buffer.text("gph_marketarray"), "264,281,290,301,312,312,315,313,314");
}

TEST(Figures, AnAverageBeyondTheRangeOfNumbersKeepsEarlierFigures) {
  RunBuffer buffer = bufferWithAverage("250");
  computeFigures(buffer);
  buffer.setText("txt_num", "1" + std::string(320, '0'));
  FigureSteps steps(buffer);
  steps.averageInPounds();
  steps.yearlyFigures();
  EXPECT_EQ(steps.onePercent(), "");
  EXPECT_EQ(steps.years()[4], "");
  EXPECT_EQ(steps.stepBelow(), "");
}

// --- Money texts -----------------------------------------------------------------------------

struct MoneyCase {
  std::string thousands;
  std::string expected;
};

// Printed by its input: gtest would otherwise dump the bytes of the whole case, the unused
// parts of its strings' buffers included.
void PrintTo(const MoneyCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.thousands);
}

// Averages, five-year and five-years-ago texts of the table above are money texts too.
const MoneyCase kMoneyCases[] = {
    {"12345",
     "\xA3"
     "12,345,000"},
    {"1234567",
     "\xA3"
     "1,234,567,000"},
    {"(100) 000-0x", "\xA3(100) 000-0x,000"},
};

class MoneyTextTest : public testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyTextTest, GroupsThousandsInThrees) {
  EXPECT_EQ(moneyText(GetParam().thousands), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Thousands, MoneyTextTest, testing::ValuesIn(kMoneyCases));

}  // namespace
}  // namespace korvane
