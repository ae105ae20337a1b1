#pragma once

#include "chart/surface.h"

#include <string>
#include <vector>

namespace korvane::test {

// A Surface that draws nothing and logs every drawing call, with fixed text metrics: every
// character is kCharWidth twips wide and every line kLineHeight twips high.
// Calls are logged as text, for example "line 1064 0 1064 3235 #C0C0C0" or "text 250 3150 ' 0 '"
// (the text's top-left corner), with numbers in their shortest decimal form.
class RecordingSurface final : public Surface {
 public:
  static constexpr double kCharWidth = 100;
  static constexpr double kLineHeight = 200;

  RecordingSurface(double width, double height) : m_width(width), m_height(height) {}

  double width() const override { return m_width; }
  double height() const override { return m_height; }
  void clear() override;
  void setBackground(Color color) override;
  void setLineStyle(LineStyle style) override;
  void line(double x1, double y1, double x2, double y2, Color color) override;
  void rectangle(double x1, double y1, double x2, double y2, Color color) override;
  void filledRectangle(double x1, double y1, double x2, double y2, Color color) override;
  double currentX() const override { return m_x; }
  double currentY() const override { return m_y; }
  void setCurrent(double x, double y) override;
  double textWidth(std::string_view text) const override;
  double textHeight(std::string_view text) const override;
  void drawText(std::string_view text) override;

  // Every call since the surface was made, in order.
  const std::vector<std::string>& calls() const { return m_calls; }
  // What the surface shows: the calls after the last clear or background change.
  std::vector<std::string> shown() const;
  // The shown calls that start with prefix ("line", "text", ...).
  std::vector<std::string> shown(std::string_view prefix) const;
  LineStyle lineStyle() const { return m_style; }

 private:
  void log(std::string call);

  double m_width;
  double m_height;
  double m_x = 0;
  double m_y = 0;
  LineStyle m_style = LineStyle::Solid;
  std::vector<std::string> m_calls;
  std::size_t m_shownFrom = 0;
};

}  // namespace korvane::test
