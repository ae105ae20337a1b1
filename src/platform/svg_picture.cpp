#include "svg_picture.h"

#include <QPaintEngine>
#include <QPainter>

namespace korvane {

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent), m_renderer(path) {}

void SvgPicture::paintEvent(QPaintEvent*) {
  if (!m_renderer.isValid()) return;
  QPainter painter(this);
  // The ratio of what is painted on: the window's pixels, or a picture of the control.
  const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
  const QSize pixels(qRound(width() * ratio), qRound(height() * ratio));
  if (m_drawn.size() != pixels || m_drawn.devicePixelRatioF() != ratio) {
    // Rendered as vectors at the device's resolution, so the picture stays crisp on any screen.
    m_drawn = QPixmap(pixels);
    m_drawn.setDevicePixelRatio(ratio);
    m_drawn.fill(Qt::transparent);
    QPainter drawing(&m_drawn);
    drawing.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&drawing, QRectF(rect()));
  }
  painter.drawPixmap(QPointF(0, 0), m_drawn);
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
