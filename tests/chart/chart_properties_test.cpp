#include "recording_host.h"

#include "chart/chart.h"
#include "chart/property_bag.h"
#include "support/recording_surface.h"
#include "util/basic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane {
namespace {

using test::RecordingHost;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ChartProperties, StartWithTheNewControlSettings) {
  Chart chart;
  EXPECT_EQ(chart.Rows(), 0);
  EXPECT_EQ(chart.Cols(), 0);
  EXPECT_EQ(chart.MinValue(), 0);
  EXPECT_EQ(chart.MaxValue(), 5);
  EXPECT_TRUE(chart.mnuLegendChecked());
  EXPECT_FALSE(chart.dragging());
  EXPECT_EQ(chart.legend().left, 0);
  EXPECT_EQ(chart.LeftMargin(), 0);
}

TEST(ChartProperties, StoreAnyValueAndTellTheHostWithoutRedrawing) {
  Chart chart;
  RecordingHost host;
  chart.setHost(&host);
  chart.setRows(10);
  chart.setCols(-7);
  chart.setMinValue(-32768);
  chart.setMaxValue(0);
  EXPECT_EQ(chart.Rows(), 10);
  EXPECT_EQ(chart.Cols(), -7);
  EXPECT_EQ(chart.MinValue(), -32768);
  EXPECT_EQ(chart.MaxValue(), 0);
  EXPECT_THAT(host.effects,
              ElementsAre("changed Rows", "changed Cols", "changed MinValue", "changed MaxValue"));
}

TEST(ChartProperties, ColsDoesNotChangeThePicture) {
  auto pictureWithCols = [](std::int16_t cols) {
    Chart chart;
    chart.setRows(10);
    chart.setMaxValue(350);
    chart.setCols(cols);
    test::RecordingSurface surface(6135, 3735);
    chart.DrawGraph(surface, {0, {"1,2,3"}}, {0, {0xFF}}, {1, std::vector<std::string>(10, "y")});
    return surface.calls();
  };
  EXPECT_EQ(pictureWithCols(3), pictureWithCols(-500));
}

// --- Saving and restoring with the host's layout ---

TEST(ChartPersistence, SavesOnlySettingsThatDifferFromTheirDefaults) {
  struct Case {
    std::int16_t rows, cols, min, max;
    std::vector<std::string> written;
  } cases[] = {
      {0, 0, 0, 5, {}},
      {0, 0, 0, 6, {"MaxValue"}},
      {10, 3, 0, 350, {"Rows", "Cols", "MaxValue"}},
      {-1, 1, -12, 0, {"Rows", "Cols", "MinValue", "MaxValue"}},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.setRows(c.rows);
    chart.setCols(c.cols);
    chart.setMinValue(c.min);
    chart.setMaxValue(c.max);
    MemoryPropertyBag bag;
    chart.save(bag);
    EXPECT_EQ(bag.writtenNames(), c.written);

    Chart restored;
    restored.restore(bag);
    EXPECT_EQ(restored.Rows(), c.rows);
    EXPECT_EQ(restored.Cols(), c.cols);
    EXPECT_EQ(restored.MinValue(), c.min);
    EXPECT_EQ(restored.MaxValue(), c.max);
  }
}

TEST(ChartPersistence, RestoresMissingNamesWithTheirDefaults) {
  Chart chart;
  chart.setRows(4);
  chart.setMinValue(9);
  MemoryPropertyBag bag;
  bag.write("MaxValue", "900");
  RecordingHost host;
  chart.setHost(&host);
  chart.restore(bag);
  EXPECT_EQ(chart.Rows(), 0);
  EXPECT_EQ(chart.Cols(), 0);
  EXPECT_EQ(chart.MinValue(), 0);
  EXPECT_EQ(chart.MaxValue(), 900);
  // Restoring is not an edit of the layout.
  EXPECT_THAT(host.effects, IsEmpty());
}

TEST(ChartPersistence, FailsOnAStoredTextThatIsNotASixteenBitNumber) {
  struct Case {
    const char* text;
    FailureKind kind;
  } cases[] = {{"abc", FailureKind::TypeMismatch},
               {"", FailureKind::TypeMismatch},
               {"12abc", FailureKind::TypeMismatch},
               {"40000", FailureKind::Overflow},
               {"-32769", FailureKind::Overflow}};
  for (const Case& c : cases) {
    MemoryPropertyBag bag;
    bag.write("Rows", "7");
    bag.write("MinValue", c.text);
    Chart chart;
    try {
      chart.restore(bag);
      ADD_FAILURE() << "no failure for '" << c.text << "'";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), c.kind) << c.text;
    }
    // Settings are read in order: those before the bad one have been taken over.
    EXPECT_EQ(chart.Rows(), 7);
  }
}

}  // namespace
}  // namespace korvane
