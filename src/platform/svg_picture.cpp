#include "svg_picture.h"

#include "platform/drawn_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace korvane {

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent), m_path(path) {}

SvgPicture::~SvgPicture() = default;

bool SvgPicture::isValid() const { return renderer().isValid(); }

bool SvgPicture::isDrawnAhead() const { return !drawnPicture(m_path, devicePixels()).isNull(); }

QSize SvgPicture::devicePixels() const {
  const qreal ratio = devicePixelRatioF();
  return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

QSvgRenderer& SvgPicture::renderer() const {
  if (!m_renderer) m_renderer = std::make_unique<QSvgRenderer>(m_path);
  return *m_renderer;
}

void SvgPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QImage drawn = drawnPicture(m_path, devicePixels());
  if (!drawn.isNull()) {
    // Pixel for pixel: no scaling, so it looks exactly as the SVG drawn here would.
    drawn.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPointF(0, 0), drawn);
    return;
  }
  // Rendered as vectors at the device's resolution, so the picture stays crisp on any screen.
  painter.setRenderHint(QPainter::Antialiasing);
  renderer().render(&painter, QRectF(rect()));
}

void SvgPicture::setOnClick(std::function<void()> onClick) {
  m_onClick = std::move(onClick);
  setCursor(m_onClick ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void SvgPicture::mousePressEvent(QMouseEvent* event) {
  m_click.press(event);
  QWidget::mousePressEvent(event);
}

void SvgPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (m_click.release(event, rect()) && m_onClick)
    m_onClick();
  else
    QWidget::mouseReleaseEvent(event);
}

}  // namespace korvane
