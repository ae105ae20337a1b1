// The legend drag and the "Legenda" menu: pointer events in twips, effects through the host.

#include "chart/chart.h"
#include "chart/chart_host.h"
#include "util/basic.h"

namespace korvane {

void Chart::mousePress(int button, double x, double y) {
  // Any press ends a drag in progress; the outline stays where it is until the next release.
  m_Dragging = false;
  if (button != 1 || !m_mnuLegendChecked) return;
  if (x < m_legend.left || x > m_legend.right || y < m_legend.top || y > m_legend.bottom) return;

  // An offset that does not fit 16 bits (only in a box larger than any surface) starts no drag
  // rather than failing the press.
  if (!attempt([&] {
        m_DragOffsetY = toInt16(y - m_legend.top);
        m_DragOffsetX = toInt16(x - m_legend.left);
      })) {
    return;
  }
  m_Dragging = true;
  // Computed wide: a box whose extent does not fit 16 bits must not make a press fail.
  m_Shape1 = {static_cast<double>(m_legend.left), static_cast<double>(m_legend.top),
              static_cast<double>(m_legend.right) - m_legend.left,
              static_cast<double>(m_legend.bottom) - m_legend.top, true};
  if (m_host) m_host->showOutline(m_Shape1.left, m_Shape1.top, m_Shape1.width, m_Shape1.height);
}

void Chart::mouseMove(double x, double y) {
  if (!m_Dragging) return;
  m_Shape1.top = y - m_DragOffsetY;
  m_Shape1.left = x - m_DragOffsetX;
  if (m_host) m_host->moveOutline(m_Shape1.left, m_Shape1.top);
}

void Chart::mouseRelease(int button, double x, double y) {
  if (m_Dragging) {
    m_Dragging = false;
    hideOutline();
    // A drop far outside the control (the pointer is grabbed during a drag) may not fit the
    // 16-bit legend fields; the legend then stays where it was instead of failing the release.
    LegendBox dropped;
    if (attempt([&] {
          dropped.top = toInt16(m_Shape1.top);
          dropped.left = toInt16(m_Shape1.left);
          dropped.bottom = toInt16(m_Shape1.height + m_Shape1.top);
          dropped.right = toInt16(m_Shape1.width + m_Shape1.left);
        })) {
      m_legend = dropped;
    }
    requestRedraw();
  }
  if (button == 2) {
    hideOutline();
    if (m_host) m_host->openMenu(x, y);
  }
}

void Chart::chooseMnuLegend() {
  m_mnuLegendChecked = !m_mnuLegendChecked;
  requestRedraw();
}

}  // namespace korvane
