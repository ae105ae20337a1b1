#include "report_chart.h"

#include "chart/chart.h"
#include "support/recording_surface.h"
#include "util/basic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane {
namespace {

using test::RecordingSurface;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The texts of the scale labels as drawn, in order, without their positions.
std::vector<std::string> scaleTexts(const RecordingSurface& surface) {
  std::vector<std::string> texts;
  for (const std::string& call : surface.shown("text")) {
    std::string text = call.substr(call.find('\'') + 1);
    text.pop_back();
    // Category labels are years; scale labels are numbers written with a trailing space.
    if (text.back() == ' ') texts.push_back(text);
  }
  return texts;
}

// --- The report's chart, drawn on a 6135 x 3735 surface ---

class ReportGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    test::setUpAsReport(chart);
    chart.DrawGraph(surface, test::reportSeries(), test::reportColours(), test::reportYears());
  }
  Chart chart;
  RecordingSurface surface{6135, 3735};
};

TEST_F(ReportGraph, ClearsThenDrawsTheFrameOnTheChartBackground) {
  const std::vector<std::string>& calls = surface.calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 5),
              ElementsAre("clear", "background #F6FFFF", "style solid",
                          "rect 500 0 6125 3235 #000000", "style dotted"));
  EXPECT_EQ(chart.LeftMargin(), 500);
  EXPECT_EQ(chart.BottomMargin(), 500);
}

TEST_F(ReportGraph, DrawsDottedGridLinesBetweenTheColumnsOnly) {
  EXPECT_THAT(surface.shown("dotline"),
              ElementsAre("dotline 1064 0 1064 3235 #C0C0C0", "dotline 1628 0 1628 3235 #C0C0C0",
                          "dotline 2192 0 2192 3235 #C0C0C0", "dotline 2756 0 2756 3235 #C0C0C0",
                          "dotline 3320 0 3320 3235 #C0C0C0", "dotline 3884 0 3884 3235 #C0C0C0",
                          "dotline 4448 0 4448 3235 #C0C0C0", "dotline 5012 0 5012 3235 #C0C0C0",
                          "dotline 5576 0 5576 3235 #C0C0C0"));
}

TEST_F(ReportGraph, CentresYearLabelsOnTheColumnMultiplesInTheBottomMargin) {
  // A label of four characters is 400 wide and 200 high: centred on x = 564 i, y = 3485.
  std::vector<std::string> expected;
  const char* years[] = {"2001", "2006", "2007", "2008", "2009",
                         "2010", "2011", "2012", "2013", "2014"};
  for (int i = 1; i <= 10; ++i) {
    expected.push_back("text " + std::to_string(564 * i - 200) + " 3385 '" + years[i - 1] + "'");
  }
  std::vector<std::string> drawn = surface.shown("text");
  drawn.resize(10);
  EXPECT_THAT(drawn, ElementsAreArray(expected));
}

TEST_F(ReportGraph, WritesTheScaleEverySeventyAndTheTopValueTwice) {
  std::vector<std::string> texts = surface.shown("text");
  std::vector<std::string> scale(texts.begin() + 10, texts.begin() + 17);
  EXPECT_THAT(scale,
              ElementsAre("text 200 3150 ' 0 '", "text 150 2520 ' 70 '", "text 100 1890 ' 140 '",
                          "text 100 1260 ' 210 '", "text 100 630 ' 280 '", "text 100 0 ' 350 '",
                          "text 100 0 ' 350 '"));
}

TEST_F(ReportGraph, JoinsThePointsInTheMiddleOfTheirColumnsInTheSeriesColour) {
  EXPECT_THAT(surface.shown("line"),
              ElementsAre("line 782 985 1346 877 #0000FF", "line 1346 877 1910 760 #0000FF",
                          "line 1910 760 2474 652 #0000FF", "line 2474 652 3038 535 #0000FF",
                          "line 3038 535 3602 427 #0000FF", "line 782 859 1346 706 #FF0000",
                          "line 1346 706 1910 625 #FF0000", "line 1910 625 2474 526 #FF0000",
                          "line 2474 526 3038 427 #FF0000", "line 3038 427 3602 427 #FF0000",
                          "line 3602 427 4166 400 #FF0000", "line 4166 400 4730 418 #FF0000",
                          "line 4730 418 5294 409 #FF0000"));
  EXPECT_EQ(surface.lineStyle(), LineStyle::Solid);
}

TEST_F(ReportGraph, EndsEachValueLabelAtItsPointAndLeavesTheLastPointUnlabelled) {
  std::vector<std::string> texts = surface.shown("text");
  std::vector<std::string> owner(texts.begin() + 17, texts.begin() + 22);
  // Three digits are 300 wide; the label starts 300 left of the point, 10 below it.
  EXPECT_THAT(owner,
              ElementsAre("text 482 995 ' 250 '", "text 1046 887 ' 262 '", "text 1610 770 ' 275 '",
                          "text 2174 662 ' 287 '", "text 2738 545 ' 300 '"));
  EXPECT_EQ(texts.size(), 17u + 5u + 8u);
  EXPECT_EQ(texts.back(), "text 4430 428 ' 313 '");
}

TEST(DrawGraph, NeverReadsTheCategoryLabelAtIndexZero) {
  Chart chart;
  chart.setRows(2);
  RecordingSurface surface(6135, 3735);
  chart.DrawGraph(surface, {}, {}, {0, {"zero", "one", "two"}});
  std::vector<std::string> texts = surface.shown("text");
  // cw = whole(2817.5) = 2818; "one" is 300 wide.
  EXPECT_EQ(texts[0], "text 2668 3385 'one'");
  EXPECT_EQ(texts[1], "text 5486 3385 'two'");
  for (const std::string& text : texts) EXPECT_EQ(text.find("zero"), std::string::npos);
}

TEST(DrawGraph, ReadsArraysByTheirOwnIndexRanges) {
  Chart chart;
  test::setUpAsReport(chart);
  chart.setRows(1);
  RecordingSurface surface(6135, 3735);
  chart.DrawGraph(surface, {7, {"10,20"}}, {7, {0x123456}}, {1, {"only"}});
  EXPECT_THAT(surface.shown("line"), ElementsAre("line 3317.5 3145 8952.5 3055 #123456"));
}

TEST(DrawGraph, RoundsTheColumnWidthToTheEvenNeighbourOnATie) {
  struct Case {
    double width;
    const char* firstGridLine;
  } cases[] = {
      {6135, "dotline 1064 0 1064 3235 #C0C0C0"},  // 563.5 -> 564
      {6115, "dotline 1062 0 1062 3235 #C0C0C0"},  // 561.5 -> 562
      {6125, "dotline 1062 0 1062 3235 #C0C0C0"},  // 562.5 -> 562
      {6145, "dotline 1064 0 1064 3235 #C0C0C0"},  // 564.5 -> 564
  };
  for (const Case& c : cases) {
    Chart chart;
    test::setUpAsReport(chart);
    RecordingSurface surface(c.width, 3735);
    chart.DrawGraph(surface, {}, {}, test::reportYears());
    EXPECT_EQ(surface.shown("dotline").front(), c.firstGridLine) << c.width;
  }
}

// --- The value scale ---

TEST(DrawGraph, StepsTheScaleByAFifthOfTheTopRoundedAndAtLeastOne) {
  struct Case {
    std::int16_t max;
    std::int16_t min;
    std::vector<std::string> labels;  // then the top value again
  } cases[] = {
      {1, 0, {" 0 ", " 1 ", " 1 "}},
      {2, 0, {" 0 ", " 1 ", " 2 ", " 2 "}},
      {3, 0, {" 0 ", " 1 ", " 2 ", " 3 ", " 3 "}},
      {5, 0, {" 0 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 5 "}},
      {7, 0, {" 0 ", " 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ", " 7 ", " 7 "}},
      {8, 0, {" 0 ", " 2 ", " 4 ", " 6 ", " 8 ", " 8 "}},
      {12, 0, {" 0 ", " 2 ", " 4 ", " 6 ", " 8 ", " 10 ", " 12 ", " 12 "}},
      {13, 0, {" 0 ", " 3 ", " 6 ", " 9 ", " 12 ", " 13 "}},
      {350, 0, {" 0 ", " 70 ", " 140 ", " 210 ", " 280 ", " 350 ", " 350 "}},
      // MinValue only stops the labels early.
      {500, 100, {" 0 ", " 100 ", " 200 ", " 300 ", " 400 ", " 500 "}},
      // A negative top steps by one as well: -5 down to -8 writes 0 to 3.
      {-5, -8, {" 0 ", " 1 ", " 2 ", " 3 ", "-5 "}},
      {-5, 0, {"-5 "}},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.setRows(10);
    chart.setMaxValue(c.max);
    chart.setMinValue(c.min);
    RecordingSurface surface(6135, 3735);
    chart.DrawGraph(surface, {}, {}, test::reportYears());
    EXPECT_THAT(scaleTexts(surface), ElementsAreArray(c.labels)) << c.max << " " << c.min;
  }
}

TEST(DrawGraph, MinValueNeverMovesTheData) {
  auto linesWithMin = [](std::int16_t min) {
    Chart chart;
    chart.setRows(10);
    chart.setMaxValue(500);
    chart.setMinValue(min);
    RecordingSurface surface(6135, 3735);
    chart.DrawGraph(surface, test::reportSeries(), test::reportColours(), test::reportYears());
    return surface.shown("line");
  };
  EXPECT_EQ(linesWithMin(100), linesWithMin(0));
  EXPECT_EQ(linesWithMin(0).size(), 13u);
}

// --- Series ---

TEST(DrawGraph, DrawsSegmentsBetweenNeighbouringValuesOnly) {
  struct Case {
    const char* series;
    std::size_t segments;
  } cases[] = {{"", 0}, {"250", 0}, {"250,262", 1}, {"1,2,3,4,5,6", 5}};
  for (const Case& c : cases) {
    Chart chart;
    test::setUpAsReport(chart);
    RecordingSurface surface(6135, 3735);
    chart.DrawGraph(surface, {0, {c.series}}, {0, {0xFF}}, test::reportYears());
    EXPECT_EQ(surface.shown("line").size(), c.segments) << c.series;
    // 10 years, 6 scale labels, the top value, one label per segment.
    EXPECT_EQ(surface.shown("text").size(), 17 + c.segments) << c.series;
  }
}

TEST(DrawGraph, DrawsValuesOutsideTheScaleBeyondTheFrame) {
  Chart chart;
  test::setUpAsReport(chart);
  RecordingSurface surface(6135, 3735);
  chart.DrawGraph(surface, {0, {"400,-10,0"}}, {0, {0xFF}}, test::reportYears());
  EXPECT_THAT(surface.shown("line"),
              ElementsAre("line 782 -365 1346 3325 #0000FF", "line 1346 3325 1910 3235 #0000FF"));
  // A negative value is written with its sign and no leading space, offset by sign and digits.
  std::vector<std::string> texts = surface.shown("text");
  EXPECT_THAT(std::vector<std::string>(texts.end() - 2, texts.end()),
              ElementsAre("text 482 -355 ' 400 '", "text 1046 3335 '-10 '"));
}

// --- Failures: the call ends where it fails and what was drawn stays ---

TEST(DrawGraph, FailsAtTheStepThatCannotBeDoneLeavingEarlierDrawing) {
  struct Case {
    const char* name;
    std::int16_t rows;
    std::int16_t max;
    IndexedArray<std::string> series;
    IndexedArray<Color> colours;
    IndexedArray<std::string> labels;
    FailureKind kind;
    std::size_t frames, gridLines, texts, lines;
  } cases[] = {
      {"no rows", 0, 350, test::reportSeries(), test::reportColours(), test::reportYears(),
       FailureKind::DivisionByZero, 0, 0, 0, 0},
      {"zero top", 10, 0, test::reportSeries(), test::reportColours(), test::reportYears(),
       FailureKind::DivisionByZero, 0, 0, 0, 0},
      {"label missing",
       10,
       350,
       test::reportSeries(),
       test::reportColours(),
       {0, {"", "2001", "2006", "2007", "2008", "2009"}},
       FailureKind::IndexOutOfRange,
       1,
       9,
       5,
       0},
      {"colour missing",
       10,
       350,
       test::reportSeries(),
       {0, {0xFF, 0xFF0000}},
       test::reportYears(),
       FailureKind::IndexOutOfRange,
       1,
       9,
       17 + 5 + 8,
       5 + 8},
      {"empty value",
       10,
       350,
       {0, {"250,,262"}},
       {0, {0xFF}},
       test::reportYears(),
       FailureKind::TypeMismatch,
       1,
       9,
       17,
       0},
      {"trailing comma",
       10,
       350,
       {0, {"250,262,"}},
       {0, {0xFF}},
       test::reportYears(),
       FailureKind::TypeMismatch,
       1,
       9,
       17 + 1,
       1},
      {"not a number",
       10,
       350,
       {0, {"250,2x"}},
       {0, {0xFF}},
       test::reportYears(),
       FailureKind::TypeMismatch,
       1,
       9,
       17,
       0},
      {"value times unit height",
       10,
       350,
       {0, {"250,262,4000"}},
       {0, {0xFF}},
       test::reportYears(),
       FailureKind::Overflow,
       1,
       9,
       17 + 1,
       1},
      {"value beyond 16 bits",
       10,
       350,
       {0, {"40000,1"}},
       {0, {0xFF}},
       test::reportYears(),
       FailureKind::Overflow,
       1,
       9,
       17,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    chart.setRows(c.rows);
    chart.setMaxValue(c.max);
    RecordingSurface surface(6135, 3735);
    try {
      chart.DrawGraph(surface, c.series, c.colours, c.labels);
      ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), c.kind);
    }
    EXPECT_EQ(surface.calls().front(), "clear");
    EXPECT_EQ(surface.shown("rect").size(), c.frames);
    EXPECT_EQ(surface.shown("dotline").size(), c.gridLines);
    EXPECT_EQ(surface.shown("text").size(), c.texts);
    EXPECT_EQ(surface.shown("line").size(), c.lines);
  }
}

}  // namespace
}  // namespace korvane
