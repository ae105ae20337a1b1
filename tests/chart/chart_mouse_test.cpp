#include "recording_host.h"
#include "report_chart.h"

#include "chart/chart.h"
#include "support/recording_surface.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane {
namespace {

using test::RecordingHost;
using test::RecordingSurface;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A chart with the report's legend drawn at (3535, 2185)-(6335, 2985) and a host that logs.
class LegendDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.setHost(&host);
    RecordingSurface surface(6135, 3735);
    chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  }
  void startDrag() {
    chart.mousePress(1, 3600, 2200);
    host.effects.clear();
  }
  Chart chart;
  RecordingHost host;
};

TEST(ChartMouse, FollowsEveryRowOfTheDragStateTable) {
  struct Case {
    const char* row;
    bool startDragging;
    std::function<void(Chart&)> event;
    bool dragging;
    bool outlineVisible;
    std::vector<std::string> effects;
  } cases[] = {
      {"idle, left press inside",
       false,
       [](Chart& c) { c.mousePress(1, 3600, 2200); },
       true,
       true,
       {"show 3535 2185 2800 800"}},
      {"idle, right press inside",
       false,
       [](Chart& c) { c.mousePress(2, 3600, 2200); },
       false,
       false,
       {}},
      {"idle, left press outside",
       false,
       [](Chart& c) { c.mousePress(1, 3000, 2200); },
       false,
       false,
       {}},
      {"dragging, move",
       true,
       [](Chart& c) { c.mouseMove(1000.5, 1000); },
       true,
       true,
       {"move 935.5 985"}},
      {"dragging, left press inside",
       true,
       [](Chart& c) { c.mousePress(1, 6000, 2900); },
       true,
       true,
       {"show 3535 2185 2800 800"}},
      {"dragging, left press outside",
       true,
       [](Chart& c) { c.mousePress(1, 100, 100); },
       false,
       true,
       {}},
      {"dragging, right press inside",
       true,
       [](Chart& c) { c.mousePress(2, 3600, 2200); },
       false,
       true,
       {}},
      {"dragging, left release",
       true,
       [](Chart& c) { c.mouseRelease(1, 3600, 2200); },
       false,
       false,
       {"hide", "redraw"}},
      {"dragging, right release",
       true,
       [](Chart& c) { c.mouseRelease(2, 3600, 2200); },
       false,
       false,
       {"hide", "redraw", "hide", "menu 3600 2200"}},
      {"idle, right release",
       false,
       [](Chart& c) { c.mouseRelease(2, 10, 20); },
       false,
       false,
       {"hide", "menu 10 20"}},
      {"idle, left release",
       false,
       [](Chart& c) { c.mouseRelease(1, 3600, 2200); },
       false,
       false,
       {}},
      {"idle, move", false, [](Chart& c) { c.mouseMove(10, 20); }, false, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    Chart chart;
    RecordingHost host;
    chart.setHost(&host);
    RecordingSurface surface(6135, 3735);
    chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
    if (c.startDragging) chart.mousePress(1, 3600, 2200);
    host.effects.clear();
    c.event(chart);
    EXPECT_EQ(chart.dragging(), c.dragging);
    EXPECT_EQ(chart.outline().visible, c.outlineVisible);
    EXPECT_THAT(host.effects, ElementsAreArray(c.effects));
  }
}

TEST_F(LegendDrag, MovesTheLegendToTheOutlineOnRelease) {
  startDrag();
  chart.mouseMove(1000, 500);
  chart.mouseRelease(1, 1000, 500);
  // Grabbed 65 right of and 15 below the corner.
  const Chart::LegendBox& box = chart.legend();
  EXPECT_EQ(box.left, 935);
  EXPECT_EQ(box.top, 485);
  EXPECT_EQ(box.right, 3735);
  EXPECT_EQ(box.bottom, 1285);
}

TEST_F(LegendDrag, RoundsTheDroppedCornerToTheEvenNeighbour) {
  startDrag();
  chart.mouseMove(1000.5, 500.5);  // corner at 935.5, 485.5
  chart.mouseRelease(1, 1000.5, 500.5);
  EXPECT_EQ(chart.legend().left, 936);
  EXPECT_EQ(chart.legend().top, 486);
}

TEST_F(LegendDrag, StartsOnTheBoxEdgesButNotBeyondThem) {
  struct Case {
    double x, y;
    bool starts;
  } cases[] = {
      {3535, 2185, true},    {6335, 2985, true},    {6335, 2500, true},
      {6335.5, 2500, false}, {3534.9, 2500, false}, {4000, 2985.1, false},
  };
  for (const Case& c : cases) {
    chart.mousePress(1, c.x, c.y);
    EXPECT_EQ(chart.dragging(), c.starts) << c.x << "," << c.y;
    chart.mouseRelease(1, c.x, c.y);  // a drop where it was grabbed moves nothing
  }
  EXPECT_EQ(chart.legend().left, 3535);
}

TEST_F(LegendDrag, StartsNoDragWhileLegendaIsUnchecked) {
  chart.chooseMnuLegend();
  host.effects.clear();
  chart.mousePress(1, 3600, 2200);
  EXPECT_FALSE(chart.dragging());
  EXPECT_THAT(host.effects, IsEmpty());
}

TEST_F(LegendDrag, KeepsTheLegendWhereItIsWhenTheDropDoesNotFitSixteenBits) {
  startDrag();
  chart.mouseMove(40000, 2200);
  chart.mouseRelease(1, 40000, 2200);
  EXPECT_EQ(chart.legend().left, 3535);
  EXPECT_EQ(chart.legend().right, 6335);
  EXPECT_THAT(host.effects, ElementsAre("move 39935 2185", "hide", "redraw"));
}

TEST_F(LegendDrag, ChoosingLegendaTogglesTheCheckAndAsksForARedraw) {
  host.effects.clear();
  chart.chooseMnuLegend();
  EXPECT_FALSE(chart.mnuLegendChecked());
  chart.chooseMnuLegend();
  EXPECT_TRUE(chart.mnuLegendChecked());
  EXPECT_THAT(host.effects, ElementsAre("redraw", "redraw"));
}

TEST_F(LegendDrag, TogglingTwiceKeepsTheDraggedPlace) {
  startDrag();
  chart.mouseMove(1000, 500);
  chart.mouseRelease(1, 1000, 500);
  chart.chooseMnuLegend();
  chart.chooseMnuLegend();
  RecordingSurface surface(6135, 3735);
  chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  EXPECT_EQ(surface.calls().front(), "fill 935 485 3735 1285 #FFFFFF");
}

TEST(ChartMouse, DragsWithoutAHost) {
  Chart chart;
  RecordingSurface surface(6135, 3735);
  chart.DrawLegend(surface, {}, {});
  chart.mousePress(1, 3600, 2200);
  chart.mouseMove(600, 300);
  EXPECT_TRUE(chart.outline().visible);
  EXPECT_EQ(chart.outline().left, 535);
  EXPECT_EQ(chart.outline().width, 800);
  chart.mouseRelease(1, 600, 300);
  EXPECT_EQ(chart.legend().left, 535);
  EXPECT_EQ(chart.legend().bottom, 485);
}

}  // namespace
}  // namespace korvane
