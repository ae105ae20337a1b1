// Chart::DrawLegend: a white box with one colour swatch and text per series.

#include "chart/chart.h"
#include "chart/chart_text.h"
#include "util/basic.h"

namespace korvane {

using chart_detail::itemAt;

namespace {

constexpr Color kBoxFill = 0xFFFFFF;
constexpr Color kBoxOutline = 0x80000011;  // the desktop's grey-text colour

}  // namespace

void Chart::DrawLegend(Surface& surface, const IndexedArray<std::string>& T,
                       const IndexedArray<Color>& C) {
  if (!m_mnuLegendChecked) return;
  // 0 means "not placed yet": the box goes to its default corner near the bottom right.
  if (m_legend.left == 0) m_legend.left = toInt16(surface.width() - 2600);
  if (m_legend.top == 0) m_legend.top = toInt16(surface.height() - 1550);

  const long last = T.first + static_cast<long>(T.items.size()) - 1;
  surface.setCurrent(surface.currentX(), add16(m_legend.top, 100));
  const std::int16_t t = toInt16(surface.currentY());

  // The widest text decides the box's width; the text lines decide its height.
  std::int16_t m = 0;
  for (long k = T.first; k <= last; ++k) {
    const double w = surface.textWidth(itemAt(T, k));
    if (m < w) m = toInt16(w);
    surface.advanceLine();
  }
  m_legend.right = add16(add16(m_legend.left, m), 800);

  const double boxBottom = surface.currentY() + 100;
  surface.filledRectangle(m_legend.left, m_legend.top, m_legend.right, boxBottom, kBoxFill);
  surface.rectangle(m_legend.left, m_legend.top, m_legend.right, boxBottom, kBoxOutline);

  surface.setCurrent(surface.currentX(), t);
  for (long k = T.first; k <= last; ++k) {
    const std::int16_t cy = toInt16(surface.currentY());
    surface.filledRectangle(add16(m_legend.left, 200), add16(cy, 50), add16(m_legend.left, 400),
                            add16(cy, 125), itemAt(C, k));
    surface.setCurrent(add16(m_legend.left, 600), cy);
    surface.drawText(itemAt(T, k));
  }
  m_legend.bottom = toInt16(surface.currentY() + 100);
}

}  // namespace korvane
