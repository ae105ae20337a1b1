#pragma once

// Small pieces the chart's drawing shares: array access by index and how numbers are written.

#include "chart/chart.h"
#include "util/basic.h"

#include <cstdint>
#include <string>

namespace korvane::chart_detail {

// The entry of array at index. Throws Failure(IndexOutOfRange) when the array has no such index.
template <class T>
const T& itemAt(const IndexedArray<T>& array, long index) {
  long offset = index - array.first;
  if (offset < 0 || offset >= static_cast<long>(array.items.size())) {
    throw Failure(FailureKind::IndexOutOfRange);
  }
  return array.items[static_cast<std::size_t>(offset)];
}

// The digits of n, with a minus sign when negative, no spaces.
inline std::string decimalText(std::int16_t n) { return std::to_string(n); }

// Draws n at the current position: " 12 " for n >= 0, "-12 " for n < 0.
inline void drawNumber(Surface& surface, std::int16_t n) {
  surface.drawText(n >= 0 ? " " + decimalText(n) + " " : decimalText(n) + " ");
}

}  // namespace korvane::chart_detail
