#include "painter_surface.h"

#include "chart/system_colors.h"
#include "platform/qt_text.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace korvane {

namespace {

QColor toQColor(Color color) {
  const Color rgb = resolveColor(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

}  // namespace

PainterSurface::PainterSurface(double dpi, const QFont& font) : m_dpi(dpi), m_font(font) {}

PainterSurface::~PainterSurface() { finish(); }

void PainterSurface::resize(int widthPixels, int heightPixels, double devicePixelRatio) {
  finish();
  QPixmap next(qRound(widthPixels * devicePixelRatio), qRound(heightPixels * devicePixelRatio));
  next.setDevicePixelRatio(devicePixelRatio);
  next.fill(toQColor(m_background));
  if (!m_pixmap.isNull()) {
    QPainter copy(&next);
    copy.drawPixmap(0, 0, m_pixmap);
  }
  m_pixmap = next;
}

const QPixmap& PainterSurface::pixmap() {
  finish();
  return m_pixmap;
}

void PainterSurface::finish() { m_painter.reset(); }

QPainter& PainterSurface::painter() {
  if (!m_painter) {
    m_painter = std::make_unique<QPainter>(&m_pixmap);
    // Aliased lines on whole device pixels stay crisp; text keeps its own antialiasing.
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter->setFont(m_font);
  }
  return *m_painter;
}

double PainterSurface::width() const {
  return toTwips(m_pixmap.width() / m_pixmap.devicePixelRatio());
}

double PainterSurface::height() const {
  return toTwips(m_pixmap.height() / m_pixmap.devicePixelRatio());
}

void PainterSurface::clear() {
  if (m_pixmap.isNull()) return;
  QPainter& p = painter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(QRectF(QPointF(0, 0), m_pixmap.deviceIndependentSize()), toQColor(m_background));
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  m_x = 0;
  m_y = 0;
}

void PainterSurface::setBackground(Color color) {
  m_background = color;
  clear();
}

void PainterSurface::setLineStyle(LineStyle style) { m_style = style; }

void PainterSurface::preparePen(Color color) {
  // Width 0 is a cosmetic pen: one device pixel whatever the scale.
  QPen pen(toQColor(color), 0, m_style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
  painter().setPen(pen);
  painter().setBrush(Qt::NoBrush);
}

double PainterSurface::devicePixel(double twips) const {
  // The small allowance keeps exact pixel edges (2985 twips = 199 px) from falling a pixel short.
  return std::floor(toPixels(twips) * m_pixmap.devicePixelRatio() + 1e-6);
}

double PainterSurface::pixelCentre(double twips) const {
  return (devicePixel(twips) + 0.5) / m_pixmap.devicePixelRatio();
}

QRectF PainterSurface::pixelBox(double x1, double y1, double x2, double y2) const {
  // Both corners' pixels belong to the box, as the outline runs through them.
  const double ratio = m_pixmap.devicePixelRatio();
  const double left = std::min(devicePixel(x1), devicePixel(x2));
  const double right = std::max(devicePixel(x1), devicePixel(x2));
  const double top = std::min(devicePixel(y1), devicePixel(y2));
  const double bottom = std::max(devicePixel(y1), devicePixel(y2));
  return QRectF(left / ratio, top / ratio, (right - left + 1) / ratio, (bottom - top + 1) / ratio);
}

void PainterSurface::line(double x1, double y1, double x2, double y2, Color color) {
  if (!m_pixmap.isNull()) {
    preparePen(color);
    // Aliased lines through device pixel centres: one device pixel wide, no blending.
    painter().drawLine(QPointF(pixelCentre(x1), pixelCentre(y1)),
                       QPointF(pixelCentre(x2), pixelCentre(y2)));
  }
  setCurrent(x2, y2);
}

void PainterSurface::rectangle(double x1, double y1, double x2, double y2, Color color) {
  if (!m_pixmap.isNull()) {
    preparePen(color);
    painter().drawRect(
        QRectF(QPointF(toPixels(x1), toPixels(y1)), QPointF(toPixels(x2), toPixels(y2)))
            .normalized());
  }
  setCurrent(x2, y2);
}

void PainterSurface::filledRectangle(double x1, double y1, double x2, double y2, Color color) {
  if (!m_pixmap.isNull()) {
    painter().fillRect(pixelBox(x1, y1, x2, y2), toQColor(color));
  }
  setCurrent(x2, y2);
}

void PainterSurface::setCurrent(double x, double y) {
  m_x = x;
  m_y = y;
}

double PainterSurface::textWidth(std::string_view text) const {
  return toTwips(QFontMetricsF(m_font).horizontalAdvance(toQString(text)));
}

double PainterSurface::textHeight(std::string_view) const {
  return toTwips(QFontMetricsF(m_font).height());
}

void PainterSurface::drawText(std::string_view text) {
  if (!text.empty() && !m_pixmap.isNull()) {
    QPainter& p = painter();
    p.setPen(Qt::black);
    // The baseline on a whole device pixel keeps glyphs from being split across two rows.
    const double ratio = m_pixmap.devicePixelRatio();
    const double baseline = devicePixel(m_y) + std::round(QFontMetricsF(m_font).ascent() * ratio);
    p.drawText(QPointF(devicePixel(m_x) / ratio, baseline / ratio), toQString(text));
  }
  setCurrent(0, m_y + textHeight(text));
}

}  // namespace korvane
