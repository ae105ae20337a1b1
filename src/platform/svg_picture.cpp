#include "svg_picture.h"

#include <QPaintEngine>
#include <QPainter>

namespace korvane {

SvgPicture::SvgPicture(const QString& path, QWidget* parent) : QWidget(parent), m_renderer(path) {}

void SvgPicture::paintEvent(QPaintEvent*) {
  if (m_renderer.isValid()) drawPicture();
  m_clicking.paintFocusMark();
}

void SvgPicture::drawPicture() {
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

void SvgPicture::keyPressEvent(QKeyEvent* event) {
  if (m_clicking.keyPress(event))
    m_clicking.click();
  else
    QWidget::keyPressEvent(event);
}

void SvgPicture::mousePressEvent(QMouseEvent* event) {
  m_clicking.mousePress(event);
  QWidget::mousePressEvent(event);
}

void SvgPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (m_clicking.mouseRelease(event))
    m_clicking.click();
  else
    QWidget::mouseReleaseEvent(event);
}

}  // namespace korvane
