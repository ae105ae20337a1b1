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
using ::testing::IsEmpty;

// Moves the legend with a left drag from inside its box by (dx, dy).
void dragLegend(Chart& chart, double dx, double dy) {
  const double x = chart.legend().left + 1;
  const double y = chart.legend().top + 1;
  chart.mousePress(1, x, y);
  chart.mouseMove(x + dx, y + dy);
  chart.mouseRelease(1, x + dx, y + dy);
}

TEST(DrawLegend, PlacesTheReportsLegendAtTheDefaultCornerWithASwatchAndTextPerLine) {
  Chart chart;
  RecordingSurface surface(6135, 3735);
  chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  // The widest text is 2000: the box is 2800 wide and 3 lines of 200 plus 200 high.
  EXPECT_THAT(
      surface.calls(),
      ElementsAre("fill 3535 2185 6335 2985 #FFFFFF", "rect 3535 2185 6335 2985 sys17",
                  "fill 3735 2335 3935 2410 #0000FF", "text 4135 2285 'Your property value'",
                  "fill 3735 2535 3935 2610 #FF0000", "text 4135 2485 'Market Value'",
                  "fill 3735 2735 3935 2810 #00FF00", "text 4135 2685 'Market at lower rate'"));
  const Chart::LegendBox& box = chart.legend();
  EXPECT_EQ(box.left, 3535);
  EXPECT_EQ(box.top, 2185);
  EXPECT_EQ(box.right, 6335);
  EXPECT_EQ(box.bottom, 2985);
}

TEST(DrawLegend, OutlinesTheBoxInTheLineStyleTheGraphLeft) {
  Chart chart;
  test::setUpAsReport(chart);
  RecordingSurface surface(6135, 3735);
  chart.DrawGraph(surface, test::reportSeries(), test::reportColours(), test::reportYears());
  chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  EXPECT_THAT(surface.shown("rect"),
              ElementsAre("rect 500 0 6125 3235 #000000", "rect 3535 2185 6335 2985 sys17"));
  // The legend lies on top of the graph.
  EXPECT_EQ(surface.calls().back(), "text 4135 2685 'Market at lower rate'");
}

TEST(DrawLegend, DrawsAnEmptyBoxForNoTexts) {
  Chart chart;
  RecordingSurface surface(6135, 3735);
  chart.DrawLegend(surface, {}, {});
  EXPECT_THAT(surface.calls(),
              ElementsAre("fill 3535 2185 4335 2385 #FFFFFF", "rect 3535 2185 4335 2385 sys17"));
  EXPECT_EQ(chart.legend().right, chart.legend().left + 800);
  EXPECT_EQ(chart.legend().bottom, chart.legend().top + 200);
}

TEST(DrawLegend, DrawsNothingAndKeepsItsPlaceWhileLegendaIsUnchecked) {
  Chart chart;
  RecordingSurface surface(6135, 3735);
  chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  const Chart::LegendBox before = chart.legend();
  chart.chooseMnuLegend();
  ASSERT_FALSE(chart.mnuLegendChecked());

  RecordingSurface next(9000, 9000);
  chart.DrawLegend(next, test::reportLegend(), test::reportColours());
  EXPECT_THAT(next.calls(), IsEmpty());
  EXPECT_EQ(chart.legend().left, before.left);
  EXPECT_EQ(chart.legend().bottom, before.bottom);
}

TEST(DrawLegend, KeepsItsPlaceWhenTheSurfaceGrows) {
  Chart chart;
  RecordingSurface small(6135, 3735);
  chart.DrawLegend(small, {0, {"a"}}, {0, {0}});
  RecordingSurface large(12000, 8000);
  chart.DrawLegend(large, {0, {"a"}}, {0, {0}});
  EXPECT_EQ(large.calls().front(), "fill 3535 2185 4435 2585 #FFFFFF");
}

TEST(DrawLegend, ReturnsToTheDefaultCornerWhenDroppedAtZero) {
  struct Case {
    const char* name;
    double dx, dy;
    const char* box;
  } cases[] = {
      {"left edge at 0", -3535, -1000, "fill 3535 1185 6335 1985 #FFFFFF"},
      {"top edge at 0", -1000, -2185, "fill 2535 2185 5335 2985 #FFFFFF"},
      {"left edge rounds to 0", -3535.4, 0, "fill 3535 2185 6335 2985 #FFFFFF"},
      {"both at 0", -3535, -2185, "fill 3535 2185 6335 2985 #FFFFFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    RecordingSurface first(6135, 3735);
    chart.DrawLegend(first, test::reportLegend(), test::reportColours());
    dragLegend(chart, c.dx, c.dy);
    RecordingSurface next(6135, 3735);
    chart.DrawLegend(next, test::reportLegend(), test::reportColours());
    EXPECT_EQ(next.calls().front(), c.box);
  }
}

TEST(DrawLegend, DrawsABoxDroppedPartlyOutsideWhereItWasDropped) {
  Chart chart;
  RecordingSurface first(6135, 3735);
  chart.DrawLegend(first, test::reportLegend(), test::reportColours());
  dragLegend(chart, -4535, 1000);
  RecordingSurface next(6135, 3735);
  chart.DrawLegend(next, test::reportLegend(), test::reportColours());
  EXPECT_EQ(next.calls().front(), "fill -1000 3185 1800 3985 #FFFFFF");
  EXPECT_EQ(next.calls()[2], "fill -800 3335 -600 3410 #0000FF");
}

TEST(DrawLegend, FailsOnAMissingColourLeavingTheLinesBeforeIt) {
  Chart chart;
  RecordingSurface surface(6135, 3735);
  try {
    chart.DrawLegend(surface, test::reportLegend(), {0, {0xFF, 0xFF0000}});
    ADD_FAILURE() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), FailureKind::IndexOutOfRange);
  }
  EXPECT_EQ(surface.shown("text").size(), 2u);
  EXPECT_EQ(surface.shown("fill").size(), 3u);
  // The bottom edge is only known once every line is drawn.
  EXPECT_EQ(chart.legend().bottom, 0);
}

TEST(DrawLegend, FailsWithOverflowWhenTheBoxDoesNotFitSixteenBits) {
  Chart chart;
  RecordingSurface surface(35000, 3735);  // default left 32400
  try {
    chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
    ADD_FAILURE() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), FailureKind::Overflow);
  }
  EXPECT_THAT(surface.calls(), IsEmpty());
}

}  // namespace
}  // namespace korvane
