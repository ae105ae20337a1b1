// The chart's drawing and mouse handling with fuzzed settings, series, colours, labels, surface
// size and pointer events. Drawing may fail only with korvane::Failure (the report ignores it);
// the pointer events never fail; DrawGraph clears the surface exactly once; no drawing
// call gets a coordinate that is not a finite number.

#include "checking_surface.h"
#include "fuzz_check.h"

#include "chart/chart.h"
#include "util/basic.h"

namespace {

using korvane::fuzz::FuzzInput;

// A small array: its first index, then up to 15 items.
korvane::IndexedArray<std::string> texts(FuzzInput& input) {
  korvane::IndexedArray<std::string> array;
  array.first = static_cast<std::int8_t>(input.byte());
  const int count = input.byte() % 16;
  for (int i = 0; i < count; ++i) array.items.emplace_back(input.textUntil());
  return array;
}

korvane::IndexedArray<korvane::Color> colours(FuzzInput& input) {
  korvane::IndexedArray<korvane::Color> array;
  array.first = static_cast<std::int8_t>(input.byte());
  const int count = input.byte() % 16;
  for (int i = 0; i < count; ++i) array.items.push_back(input.integer<std::uint32_t>());
  return array;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  // Settings near the 16-bit limits draw tens of thousands of grid lines and scale steps; they
  // are kept for one input in sixteen so that the fuzzer spends its time on the other paths too.
  const bool wide = (input.byte() & 15) == 0;
  auto setting = [&] {
    const auto value = input.integer<std::int16_t>();
    return wide ? value : static_cast<std::int16_t>(value % 128);
  };
  korvane::Chart chart;
  chart.setRows(setting());
  chart.setCols(setting());
  chart.setMinValue(setting());
  chart.setMaxValue(setting());
  const double width = input.integer<std::uint16_t>();
  const double height = input.integer<std::uint16_t>();
  korvane::fuzz::CheckingSurface surface(width, height);

  const auto series = texts(input);
  const auto seriesColours = colours(input);
  const auto labels = texts(input);
  const auto legendTexts = texts(input);
  const auto legendColours = colours(input);

  try {
    chart.DrawGraph(surface, series, seriesColours, labels);
  } catch (const korvane::Failure&) {
  }
  FUZZ_CHECK(surface.clears() == 1 && surface.calls() > 0);
  try {
    chart.DrawLegend(surface, legendTexts, legendColours);
  } catch (const korvane::Failure&) {
  }

  // A few pointer events (drag the legend, open the menu), then the legend once more where the
  // drag left it.
  while (!input.empty()) {
    const std::uint8_t kind = input.byte();
    const double x = input.integer<std::int16_t>();
    const double y = input.integer<std::int16_t>();
    switch (kind % 5) {
      case 0:
        chart.mousePress(1 + (kind >> 7), x, y);
        break;
      case 1:
        chart.mouseMove(x, y);
        break;
      case 2:
        chart.mouseRelease(1 + (kind >> 7), x, y);
        break;
      case 3:
        chart.chooseMnuLegend();
        break;
      default:
        try {
          chart.DrawLegend(surface, legendTexts, legendColours);
        } catch (const korvane::Failure&) {
        }
    }
  }
  return 0;
}
