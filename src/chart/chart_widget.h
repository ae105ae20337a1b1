#pragma once

// The chart control: a Chart drawing on a retained picture, with the drag outline Shape1 and the
// pop-up menu mnuMain ("Legenda"), which the menu key or Shift+F10 opens once the control has the
// keyboard focus. It never redraws by itself; it asks its host to.

#include "chart/chart.h"
#include "chart/chart_host.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QAction;
class QMenu;

namespace korvane {

class PainterSurface;

class ChartWidget final : public QWidget, private ChartHost {
  Q_OBJECT

 public:
  explicit ChartWidget(QWidget* parent = nullptr);
  ~ChartWidget() override;
  Q_DISABLE_COPY_MOVE(ChartWidget)

  // The logic with the settings Rows, Cols, MinValue, MaxValue and the legend state.
  Chart& chart() { return m_chart; }
  const Chart& chart() const { return m_chart; }

  // Draw on the retained picture and show it. Throw Failure like Chart's; what was drawn shows.
  void DrawGraph(const IndexedArray<std::string>& S, const IndexedArray<Color>& C,
                 const IndexedArray<std::string>& L);
  void DrawLegend(const IndexedArray<std::string>& T, const IndexedArray<Color>& C);

  // Called whenever the control wants a new picture (resize, legend drag, "Legenda"); the host
  // redraws by setting the settings and calling DrawGraph and DrawLegend. Failures it throws
  // are ignored.
  void setRedrawHandler(std::function<void()> handler) { m_redraw = std::move(handler); }
  // Called with the name of each setting written ("Rows", ...).
  void setPropertyChangedHandler(std::function<void(std::string_view)> handler) {
    m_propertyChanged = std::move(handler);
  }
  // While the host is being designed, a resize asks for no redraw.
  void setDesignMode(bool on) { m_designMode = on; }
  bool designMode() const { return m_designMode; }

  // Twips and pixels at the control's logical DPI.
  double dpi() const;
  double widthTwips() const;
  double heightTwips() const;
  // Resizes the control to this many twips (rounded to whole pixels).
  void resizeTwips(double widthTwips, double heightTwips);

  // The retained picture as shown (device pixel ratio included).
  QPixmap picture() const;
  QMenu* mnuMain() const { return m_mnuMain; }
  QAction* mnuLegend() const { return m_mnuLegend; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // ChartHost
  void propertyChanged(std::string_view name) override;
  void showOutline(double left, double top, double width, double height) override;
  void moveOutline(double left, double top) override;
  void hideOutline() override;
  void openMenu(double x, double y) override;
  void requestRedraw() override;

  void fitPicture();
  void showPicture();
  double toTwips(double pixels) const;
  double toPixels(double twips) const;

  Chart m_chart;
  std::unique_ptr<PainterSurface> m_surface;
  QMenu* m_mnuMain = nullptr;
  QAction* m_mnuLegend = nullptr;
  std::function<void()> m_redraw;
  std::function<void(std::string_view)> m_propertyChanged;
  bool m_designMode = false;
};

}  // namespace korvane
