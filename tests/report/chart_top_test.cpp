// The report chart's scale and its description in words.

#include "report/chart_top.h"

#include "report/chart_description.h"
#include "support/files.h"

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

TEST(ChartDescription, ReadsEachSeriesYearByYearAndSaysWhereTheLegendIs) {
  const std::vector<std::string> years = {"2001", "2006", "2007"};
  const struct {
    const char *owner, *market;
    std::optional<ChartBox> legend;
    const char* words;  // UTF-8
  } cases[] = {
      {"250,262", "264,281,290,301", ChartBox{3000, 2000, 4000, 2500},
       "Your property value: 2001 £250,000, 2006 £262,000. Market Value: 2001 £264,000, 2006 "
       "£281,000, 2007 £290,000, £301,000. The legend is at the lower right."},
      {"", "1250", ChartBox{100, 100, 900, 500},
       "Your property value: no figures. Market Value: 2001 £1,250,000. The legend is at the upper "
       "left."},
      {",0", "", std::nullopt,
       "Your property value: 2001 £,000, 2006 £0,000. Market Value: no figures. The legend is "
       "hidden."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(chartDescription(years, c.owner, c.market, c.legend, 4000, 3000), test::cp(c.words));
}

}  // namespace
}  // namespace korvane
