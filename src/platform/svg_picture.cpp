#include "svg_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace korvane {

SvgPicture::SvgPicture(const QString& path, QWidget* parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(path, this)) {}

SvgPicture::~SvgPicture() = default;

bool SvgPicture::isValid() const { return m_renderer->isValid(); }

void SvgPicture::paintEvent(QPaintEvent*) {
  // Rendered as vectors at the device's resolution, so the picture stays crisp on any screen.
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  m_renderer->render(&painter, QRectF(rect()));
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
