#include "chart_top.h"

#include "util/basic.h"
#include "util/strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane {

namespace {

// The highest value of a comma-separated series; empty entries, and an empty series, count as 0.
double highestValue(std::string_view series) {
  if (series.empty()) return 0;
  double highest = -std::numeric_limits<double>::infinity();
  for (const std::string_view value : splitValues(series)) {
    highest = std::max(highest, leadingNumber(value));
  }
  return highest;
}

}  // namespace

std::int16_t chartTop(std::string_view averageThousands, std::string_view ownerSeries,
                      std::string_view marketSeries) {
  double top = leadingNumber(averageThousands) + 100;
  const double highest = std::max(highestValue(ownerSeries), highestValue(marketSeries));
  if (highest > top) top = highest + std::ceil(highest / 10);
  // A top beyond the 16-bit range would leave the chart at its previous scale; the nearest value
  // the chart can hold keeps it drawn.
  top = std::clamp(top, -32768.0, 32767.0);
  return toInt16(top);
}

}  // namespace korvane
