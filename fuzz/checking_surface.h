#pragma once

// A surface for fuzzing the chart: it keeps no drawing, so a grid of thirty thousand lines costs
// no memory, but it follows the current position as a real surface does and stops the process
// when the chart hands it a coordinate or size that is not a finite number.

#include "fuzz_check.h"

#include "chart/surface.h"

#include <cmath>
#include <cstddef>

namespace korvane::fuzz {

class CheckingSurface final : public Surface {
 public:
  static constexpr double kCharWidth = 100;
  static constexpr double kLineHeight = 200;

  CheckingSurface(double width, double height) : m_width(width), m_height(height) {}

  double width() const override { return m_width; }
  double height() const override { return m_height; }
  void clear() override {
    ++m_calls;
    ++m_clears;
    m_x = 0;
    m_y = 0;
  }
  void setBackground(Color) override { ++m_calls; }
  void setLineStyle(LineStyle) override { ++m_calls; }
  void line(double x1, double y1, double x2, double y2, Color) override { shape(x1, y1, x2, y2); }
  void rectangle(double x1, double y1, double x2, double y2, Color) override {
    shape(x1, y1, x2, y2);
  }
  void filledRectangle(double x1, double y1, double x2, double y2, Color) override {
    shape(x1, y1, x2, y2);
  }
  double currentX() const override { return m_x; }
  double currentY() const override { return m_y; }
  void setCurrent(double x, double y) override {
    FUZZ_CHECK(std::isfinite(x) && std::isfinite(y));
    m_x = x;
    m_y = y;
  }
  double textWidth(std::string_view text) const override {
    return kCharWidth * static_cast<double>(text.size());
  }
  double textHeight(std::string_view) const override { return kLineHeight; }
  void drawText(std::string_view) override {
    ++m_calls;
    setCurrent(0, m_y + kLineHeight);
  }

  std::size_t calls() const { return m_calls; }
  std::size_t clears() const { return m_clears; }

 private:
  void shape(double x1, double y1, double x2, double y2) {
    FUZZ_CHECK(std::isfinite(x1) && std::isfinite(y1));
    ++m_calls;
    setCurrent(x2, y2);
  }

  double m_width;
  double m_height;
  double m_x = 0;
  double m_y = 0;
  std::size_t m_calls = 0;
  std::size_t m_clears = 0;
};

}  // namespace korvane::fuzz
