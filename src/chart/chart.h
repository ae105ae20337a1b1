#pragma once

// The line-chart control's logic: four persisted settings, the graph and legend drawing on a
// Surface, and the legend drag and "Legenda" menu as a state machine whose effects go to a host.

#include "chart/surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

class ChartHost;
class PropertyBag;

// An argument array of a drawing call: items[i] holds index first + i.
template <class T>
struct IndexedArray {
  int first = 0;
  std::vector<T> items;
};

class Chart {
 public:
  // A new instance, no host: effects go nowhere. Settings Rows 0, Cols 0, MinValue 0, MaxValue 5.
  Chart();
  Chart(const Chart&) = delete;
  Chart& operator=(const Chart&) = delete;

  // Writes store the value unchecked, draw nothing and tell the host the property's name.
  std::int16_t Rows() const { return m_Rows; }
  void setRows(std::int16_t value);
  std::int16_t Cols() const { return m_Cols; }
  void setCols(std::int16_t value);
  std::int16_t MinValue() const { return m_MinValue; }
  void setMinValue(std::int16_t value);
  std::int16_t MaxValue() const { return m_MaxValue; }
  void setMaxValue(std::int16_t value);

  // Clears the surface and draws frame, grid, labels, scale and one line per series S[r] (comma
  // separated whole numbers) in colour C[r], with category labels L[1..Rows].
  // Throws Failure (division by zero, index out of range, type mismatch, overflow) at the step
  // that fails; what was drawn before stays on the surface.
  void DrawGraph(Surface& surface, const IndexedArray<std::string>& S, const IndexedArray<Color>& C,
                 const IndexedArray<std::string>& L);
  // Draws the legend box (texts T with colour swatches C) when "Legenda" is checked; places it
  // at its default corner when not placed yet. Throws Failure (index out of range, overflow),
  // leaving what was drawn.
  void DrawLegend(Surface& surface, const IndexedArray<std::string>& T,
                  const IndexedArray<Color>& C);

  // Pointer events in twips; button 1 = left, 2 = right. They never fail.
  void mousePress(int button, double x, double y);
  void mouseMove(double x, double y);
  void mouseRelease(int button, double x, double y);
  // The user chose "Legenda": toggles the check mark and asks the host to redraw.
  void chooseMnuLegend();
  bool mnuLegendChecked() const { return m_mnuLegendChecked; }

  // Effects (property changed, outline, menu, redraw) go to host; nullptr detaches. Not owned.
  void setHost(ChartHost* host) { m_host = host; }

  // Reads "Rows", "Cols", "MinValue", "MaxValue" in this order (missing names take their
  // defaults 0, 0, 0, 5). Throws Failure(TypeMismatch or Overflow) for a stored text that is not
  // a 16-bit number; the settings read before it keep their new values.
  void restore(const PropertyBag& bag);
  // Writes the four settings in the same order, leaving out each one equal to its default.
  void save(PropertyBag& bag) const;

  // The drawing state, for hosts and tests.
  struct LegendBox {
    std::int16_t left = 0;  // 0: not placed yet
    std::int16_t top = 0;   // 0: not placed yet
    std::int16_t right = 0;
    std::int16_t bottom = 0;
  };
  // The drag outline Shape1 in twips.
  struct Outline {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool visible = false;
  };
  std::int16_t LeftMargin() const { return m_LeftMargin; }
  std::int16_t BottomMargin() const { return m_BottomMargin; }
  const LegendBox& legend() const { return m_legend; }
  bool dragging() const { return m_Dragging; }
  const Outline& outline() const { return m_Shape1; }

 private:
  // The persisted settings: name, field and default, in the order they are read and written.
  struct Setting;
  static const Setting kSettings[4];

  void changed(const char* name);
  void hideOutline();
  void requestRedraw();

  // Instance state, in the control's own order.
  std::int16_t m_MinValue = 0;
  std::int16_t m_MaxValue = 0;
  std::int16_t m_Rows = 0;
  std::int16_t m_Cols = 0;
  std::int16_t m_BottomMargin = 0;
  std::int16_t m_LeftMargin = 0;
  LegendBox m_legend;
  bool m_Dragging = false;
  std::int16_t m_DragOffsetY = 0;
  std::int16_t m_DragOffsetX = 0;

  Outline m_Shape1;
  bool m_mnuLegendChecked = true;
  ChartHost* m_host = nullptr;
};

}  // namespace korvane
