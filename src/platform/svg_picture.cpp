#include "svg_picture.h"

#include "platform/drawn_picture.h"
#include "platform/svg_drawing.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QSvgRenderer>

namespace korvane {

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent), m_path(path) {}

SvgPicture::~SvgPicture() = default;

bool SvgPicture::isValid() const { return renderer().isValid(); }

bool SvgPicture::isDrawnAhead() const {
  return !drawnPicture(m_path, devicePixels(devicePixelRatioF())).isNull();
}

QSize SvgPicture::devicePixels(qreal ratio) const {
  return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

QSvgRenderer& SvgPicture::renderer() const {
  if (!m_renderer) m_renderer = std::make_unique<QSvgRenderer>(m_path);
  return *m_renderer;
}

void SvgPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The ratio of what is painted on: the window's pixels, or a picture of the control.
  const QPaintDevice* target =
      painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : nullptr;
  const qreal ratio = target != nullptr ? target->devicePixelRatioF() : devicePixelRatioF();
  QImage drawn = drawnPicture(m_path, devicePixels(ratio));
  if (!drawn.isNull()) {
    // Pixel for pixel: no scaling, so it looks exactly as the SVG drawn here would.
    drawn.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), drawn);
    return;
  }
  // Rendered as vectors at the device's resolution, so the picture stays crisp on any screen.
  drawSvg(renderer(), painter, QRectF(rect()));
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
