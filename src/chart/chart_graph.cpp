// Chart::DrawGraph: the whole picture from its arguments, in a fixed order of drawing steps.

#include "chart/chart.h"
#include "chart/chart_text.h"
#include "util/basic.h"
#include "util/strings.h"

#include <string_view>
#include <vector>

namespace korvane {

using chart_detail::decimalText;
using chart_detail::drawNumber;
using chart_detail::itemAt;

namespace {

constexpr Color kBackground = 0xF6FFFF;
constexpr Color kBlack = 0x000000;
constexpr Color kGrid = 0xC0C0C0;

// A floating division that fails like the control's own arithmetic does.
double divide(double numerator, double denominator) {
  if (denominator == 0) throw Failure(FailureKind::DivisionByZero);
  return numerator / denominator;
}

}  // namespace

void Chart::DrawGraph(Surface& surface, const IndexedArray<std::string>& S,
                      const IndexedArray<Color>& C, const IndexedArray<std::string>& L) {
  m_LeftMargin = 500;
  m_BottomMargin = 500;
  surface.clear();

  // Sizes are single precision on the surface.
  const double W = static_cast<float>(surface.width());
  const double H = static_cast<float>(surface.height());
  const std::int16_t cw = toInt16(divide(W - m_LeftMargin, m_Rows));
  const std::int16_t uh = toInt16(divide(H - m_BottomMargin, m_MaxValue));

  surface.setBackground(kBackground);
  surface.setLineStyle(LineStyle::Solid);
  surface.rectangle(m_LeftMargin, 0, W - 10, H - m_BottomMargin, kBlack);

  surface.setLineStyle(LineStyle::Dotted);
  for (int i = 1; i <= m_Rows - 1; ++i) {
    const double x = add16(mul16(cw, i), m_LeftMargin);
    surface.line(x, 0, x, H - m_BottomMargin, kGrid);
  }

  for (int i = 1; i <= m_Rows; ++i) {
    const std::string& label = itemAt(L, i);
    const double y = H - m_BottomMargin / 2.0 - surface.textHeight("I") / 2;
    const double w = surface.textWidth(label);
    surface.setCurrent(static_cast<double>(cw) * i - w / 2, y);
    surface.drawText(label);
  }

  float s = -(static_cast<float>(m_MaxValue) / 5.0f);
  if (s > -0.6f) s = -1;
  const std::int16_t st = toInt16(s);

  for (std::int16_t i = m_MaxValue; i >= m_MinValue; i = add16(i, st)) {
    const std::int16_t v = sub16(m_MaxValue, i);
    const double x = m_LeftMargin / 2.0 - surface.textWidth(decimalText(v)) / 2;
    surface.setCurrent(x, mul16(uh, i));
    drawNumber(surface, v);
  }
  surface.setCurrent(m_LeftMargin / 2.0 - surface.textWidth(decimalText(m_MaxValue)) / 2, 0);
  drawNumber(surface, m_MaxValue);

  surface.setLineStyle(LineStyle::Solid);
  const double plotBottom = H - m_BottomMargin;
  for (long r = S.first; r < S.first + static_cast<long>(S.items.size()); ++r) {
    const Color colour = itemAt(C, r);
    const std::vector<std::string_view> p = splitValues(itemAt(S, r));
    for (int c = 0; c + 1 < static_cast<int>(p.size()); ++c) {
      const std::int16_t value = textToInt16(p[c]);
      const std::int16_t y1 = toInt16(plotBottom - mul16(value, uh));
      const std::int16_t y2 = toInt16(plotBottom - mul16(textToInt16(p[c + 1]), uh));
      const double x1 = add16(mul16(cw, c), m_LeftMargin) + cw / 2.0;
      const double x2 = add16(add16(m_LeftMargin, cw), mul16(cw, c)) + cw / 2.0;
      const double w = surface.textWidth(decimalText(value));
      surface.setCurrent(x1 - w, add16(y1, 10));
      drawNumber(surface, value);
      surface.line(x1, y1, x2, y2, colour);
    }
  }
}

}  // namespace korvane
