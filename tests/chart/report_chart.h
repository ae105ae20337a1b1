#pragma once

// The arguments the report gives the chart for an average of 250 thousand.

#include "chart/chart.h"

#include <string>

namespace korvane::test {

inline IndexedArray<std::string> reportSeries() {
  return {0, {"250,262,275,287,300,312", "264,281,290,301,312,312,315,313,314", ""}};
}
inline IndexedArray<Color> reportColours() { return {0, {0x0000FF, 0xFF0000, 0x00FF00}}; }
inline IndexedArray<std::string> reportYears() {
  return {0, {"", "2001", "2006", "2007", "2008", "2009", "2010", "2011", "2012", "2013", "2014"}};
}
inline IndexedArray<std::string> reportLegend() {
  return {0, {"Your property value", "Market Value", "Market at lower rate"}};
}

// Sets the chart up as the report does before drawing.
inline void setUpAsReport(Chart& chart) {
  chart.setMaxValue(350);
  chart.setMinValue(0);
  chart.setRows(10);
  chart.setCols(3);
}

}  // namespace korvane::test
