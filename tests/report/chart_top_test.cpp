// The top of the report chart's scale: the average plus 100 unless the forecast reaches higher.

#include "report/chart_top.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(ChartTop, CoversTheWholeForecastWithinTheSixteenBitRange) {
  const struct {
    const char *average, *owner, *market;
    int top;
  } cases[] = {
      {"250", "250,262,275,287,300,312", "264,281,290,301,312,312,315,313,314", 350},
      {"", "", "", 100},
      {"Text1", "", "", 100},
      {"250xyz", ",0,0", "", 350},
      {"400", "400,420,440,460,480,501", "", 501 + 51},  // a tenth more, rounded up
      {"100", "100", "150,205", 205 + 21},
      {"380", "475", "480", 480},
      {"12.5", "", "", 112},  // an exact half to the even neighbour
      {"40000", "", "", 32767},
      {"100", "31000", "", 32767},
      {"32667", "", "", 32767},
  };
  for (const auto& c : cases)
    EXPECT_EQ(chartTop(c.average, c.owner, c.market), c.top)
        << c.average << " / " << c.owner << " / " << c.market;
}

}  // namespace
}  // namespace korvane
