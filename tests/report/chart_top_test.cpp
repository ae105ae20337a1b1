// The top of the report chart's scale: the average plus 100 unless the forecast reaches higher.

#include "report/chart_top.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct TopCase {
  const char* behaviour;
  const char* average;
  const char* owner;
  const char* market;
  int top;
};

TEST(ChartTop, CoversTheWholeForecastWithinTheSixteenBitRange) {
  const TopCase cases[] = {
      {"worked example keeps average plus 100", "250", "250,262,275,287,300,312",
       "264,281,290,301,312,312,315,313,314", 350},
      {"empty average gives 100", "", "", "", 100},
      {"text that is no number counts as 0", "Text1", "", "", 100},
      {"only the leading number is read", "250xyz", "", "", 350},
      {"series of blanks and commas reads as zeros", "", ",0,0,0,0,0", "", 100},
      {"owner value above the top widens the scale by a tenth rounded up", "400",
       "400,420,440,460,480,501", "", 501 + 51},
      {"market value above the top widens the scale", "100", "100", "150,205", 205 + 21},
      {"a value equal to the top leaves it", "380", "475", "480", 480},
      {"an exact half rounds to the even neighbour", "12.5", "", "", 112},
      {"an average beyond 16 bits stops at 32767", "40000", "", "", 32767},
      {"a widened top beyond 16 bits stops at 32767", "100", "31000", "", 32767},
      {"the largest average that still fits", "32667", "", "", 32767},
  };
  for (const TopCase& c : cases) {
    EXPECT_EQ(chartTop(c.average, c.owner, c.market), c.top) << c.behaviour;
  }
}

}  // namespace
}  // namespace korvane
