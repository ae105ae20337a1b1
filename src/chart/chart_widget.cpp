#include "chart_widget.h"

#include "chart/painter_surface.h"
#include "platform/clickable.h"
#include "util/basic.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>

namespace korvane {

namespace {

// A new control's size in twips.
constexpr double kNewWidth = 4800;
constexpr double kNewHeight = 3600;

int buttonNumber(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent)
    : QWidget(parent), m_surface(std::make_unique<PainterSurface>(logicalDpiX(), font())) {
  m_chart.setHost(this);
  m_mnuMain = new QMenu(this);
  m_mnuMain->setObjectName("mnuMain");
  m_mnuLegend = m_mnuMain->addAction(QStringLiteral("Legenda"));
  m_mnuLegend->setObjectName("mnuLegend");
  m_mnuLegend->setCheckable(true);
  m_mnuLegend->setChecked(m_chart.mnuLegendChecked());
  connect(m_mnuLegend, &QAction::triggered, this, [this] {
    // The chart's check mark is the one switch; the action only shows it.
    m_mnuLegend->setChecked(!m_chart.mnuLegendChecked());
    m_chart.chooseMnuLegend();
  });
  // Reached with Tab; a mouse click gives no focus, so the mouse sees no focus mark.
  setFocusPolicy(Qt::TabFocus);
  fitPicture();
}

ChartWidget::~ChartWidget() { m_chart.setHost(nullptr); }

void ChartWidget::DrawGraph(const IndexedArray<std::string>& S, const IndexedArray<Color>& C,
                            const IndexedArray<std::string>& L) {
  fitPicture();
  try {
    m_chart.DrawGraph(*m_surface, S, C, L);
  } catch (...) {
    showPicture();
    throw;
  }
  showPicture();
}

void ChartWidget::DrawLegend(const IndexedArray<std::string>& T, const IndexedArray<Color>& C) {
  fitPicture();
  try {
    m_chart.DrawLegend(*m_surface, T, C);
  } catch (...) {
    showPicture();
    throw;
  }
  showPicture();
}

double ChartWidget::dpi() const { return logicalDpiX(); }
double ChartWidget::toTwips(double pixels) const { return pixels * 1440.0 / dpi(); }
double ChartWidget::toPixels(double twips) const { return twips * dpi() / 1440.0; }
double ChartWidget::widthTwips() const { return toTwips(width()); }
double ChartWidget::heightTwips() const { return toTwips(height()); }

void ChartWidget::resizeTwips(double widthTwips, double heightTwips) {
  resize(qRound(toPixels(widthTwips)), qRound(toPixels(heightTwips)));
}

QPixmap ChartWidget::picture() const { return m_surface->pixmap(); }

QSize ChartWidget::sizeHint() const {
  return QSize(qRound(toPixels(kNewWidth)), qRound(toPixels(kNewHeight)));
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_surface->pixmap());
  const Chart::Outline& outline = m_chart.outline();
  if (outline.visible) {
    // An outline only, so the legend under it stays visible while it is dragged.
    painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(toPixels(outline.left), toPixels(outline.top), toPixels(outline.width),
                            toPixels(outline.height)));
  }
  paintFocusMark(*this, painter);
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
  // The menu key and Shift+F10 open "Legenda" as a right click does.
  if (event->key() == Qt::Key_Menu ||
      (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
    m_mnuMain->popup(mapToGlobal(rect().center()));
    return;
  }
  QWidget::keyPressEvent(event);
}

void ChartWidget::resizeEvent(QResizeEvent*) {
  fitPicture();
  if (!m_designMode) requestRedraw();
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  m_chart.mousePress(buttonNumber(event->button()), toTwips(event->position().x()),
                     toTwips(event->position().y()));
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  m_chart.mouseMove(toTwips(event->position().x()), toTwips(event->position().y()));
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  m_chart.mouseRelease(buttonNumber(event->button()), toTwips(event->position().x()),
                       toTwips(event->position().y()));
}

void ChartWidget::propertyChanged(std::string_view name) {
  if (m_propertyChanged) m_propertyChanged(name);
}

void ChartWidget::showOutline(double, double, double, double) { update(); }
void ChartWidget::moveOutline(double, double) { update(); }
void ChartWidget::hideOutline() { update(); }

void ChartWidget::openMenu(double x, double y) {
  m_mnuMain->popup(mapToGlobal(QPoint(qRound(toPixels(x)), qRound(toPixels(y)))));
}

void ChartWidget::requestRedraw() {
  // The host ignores its own drawing failures; none may escape into the event loop.
  if (m_redraw) attempt(m_redraw);
}

void ChartWidget::fitPicture() {
  const QPixmap& current = m_surface->pixmap();
  const double ratio = devicePixelRatioF();
  if (current.isNull() || current.deviceIndependentSize() != QSizeF(size()) ||
      current.devicePixelRatio() != ratio) {
    m_surface->resize(width(), height(), ratio);
  }
}

void ChartWidget::showPicture() {
  m_surface->finish();
  update();
}

}  // namespace korvane
