#include "chart_top.h"

#include "util/basic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvane {

namespace {

// The highest value of a comma-separated series; empty entries count as 0.
double highestValue(std::string_view series) {
  double highest = -std::numeric_limits<double>::infinity();
  while (true) {
    const std::size_t comma = series.find(',');
    highest = std::max(highest, leadingNumber(series.substr(0, comma)));
    if (comma == std::string_view::npos) return highest;
    series.remove_prefix(comma + 1);
  }
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
