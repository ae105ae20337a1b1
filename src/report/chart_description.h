#pragma once

// The report's chart in words, for those who cannot see it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A rectangle in the chart's units, origin top left.
struct ChartBox {
  double left, top, right, bottom;
};

// "Your property value: 2001 £250,000, 2006 £262,000, ... Market Value: 2001 £264,000, ...
// The legend is at the lower right." The series are comma-separated values in thousands, the n-th
// value shown against the n-th year; a series without values has "no figures". legend is the
// legend's box within a chart of width × height, or nothing when the legend is not shown.
// Windows-1252 text. Never fails.
std::string chartDescription(const std::vector<std::string>& years, std::string_view ownerSeries,
                             std::string_view marketSeries, std::optional<ChartBox> legend,
                             double width, double height);

}  // namespace korvane
