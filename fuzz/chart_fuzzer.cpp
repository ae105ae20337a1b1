// The chart's drawing and mouse handling with fuzzed settings, series, colours, labels, surface
// size and pointer events. Drawing may fail only with korvane::Failure (the report ignores it); the
// pointer events never fail; DrawGraph clears the surface exactly once; no drawing call gets a
// coordinate that is not a finite number.

#include "fuzz_check.h"

#include "chart/chart.h"
#include "chart/surface.h"
#include "util/basic.h"

#include <cmath>

namespace {

using korvane::Color;

// A surface that keeps no drawing, so a grid of thirty thousand lines costs no memory, but follows
// the current position as a real one does and checks every coordinate it is handed.
class CheckingSurface final : public korvane::Surface {
 public:
  CheckingSurface(double width, double height) : m_width(width), m_height(height) {}

  double width() const override { return m_width; }
  double height() const override { return m_height; }
  void clear() override {
    ++clears;
    m_x = m_y = 0;
  }
  void setBackground(Color) override {}
  void setLineStyle(korvane::LineStyle) override {}
  void line(double a, double b, double c, double d, Color) override { shape(a, b, c, d); }
  void rectangle(double a, double b, double c, double d, Color) override { shape(a, b, c, d); }
  void filledRectangle(double a, double b, double c, double d, Color) override {
    shape(a, b, c, d);
  }
  double currentX() const override { return m_x; }
  double currentY() const override { return m_y; }
  void setCurrent(double x, double y) override {
    FUZZ_CHECK(std::isfinite(x) && std::isfinite(y));
    m_x = x, m_y = y;
  }
  double textWidth(std::string_view text) const override { return 100.0 * text.size(); }
  double textHeight(std::string_view) const override { return 200; }
  void drawText(std::string_view) override { setCurrent(0, m_y + 200); }

  int clears = 0;

 private:
  void shape(double x1, double y1, double x2, double y2) {
    FUZZ_CHECK(std::isfinite(x1) && std::isfinite(y1));
    setCurrent(x2, y2);
  }

  double m_width, m_height, m_x = 0, m_y = 0;
};

// A small array: its first index, then up to 15 items.
template <class Item, class Read>
korvane::IndexedArray<Item> array(korvane::fuzz::FuzzInput& input, Read read) {
  korvane::IndexedArray<Item> array;
  array.first = static_cast<std::int8_t>(input.byte());
  for (int count = input.byte() % 16; count > 0; --count) array.items.push_back(read());
  return array;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::FuzzInput input(data, size);
  // Settings near the 16-bit limits draw tens of thousands of grid lines and scale steps; they are
  // kept for one input in sixteen so that the fuzzer spends its time on the other paths too.
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
  CheckingSurface surface(width, input.integer<std::uint16_t>());

  auto text = [&] { return std::string(input.textUntil()); };
  auto colour = [&] { return input.integer<std::uint32_t>(); };
  const auto series = array<std::string>(input, text);
  const auto seriesColours = array<Color>(input, colour);
  const auto labels = array<std::string>(input, text);
  const auto legendTexts = array<std::string>(input, text);
  const auto legendColours = array<Color>(input, colour);
  const auto drawLegend = [&] {
    try {
      chart.DrawLegend(surface, legendTexts, legendColours);
    } catch (const korvane::Failure&) {
    }
  };

  try {
    chart.DrawGraph(surface, series, seriesColours, labels);
  } catch (const korvane::Failure&) {
  }
  FUZZ_CHECK(surface.clears == 1);
  drawLegend();

  // Pointer events: drag the legend, open the menu, draw the legend where the drag left it.
  while (!input.empty()) {
    const std::uint8_t kind = input.byte();
    const double x = input.integer<std::int16_t>();
    const double y = input.integer<std::int16_t>();
    const int button = 1 + (kind >> 7);
    if (kind % 5 == 0) chart.mousePress(button, x, y);
    if (kind % 5 == 1) chart.mouseMove(x, y);
    if (kind % 5 == 2) chart.mouseRelease(button, x, y);
    if (kind % 5 == 3) chart.chooseMnuLegend();
    if (kind % 5 == 4) drawLegend();
  }
  return 0;
}
