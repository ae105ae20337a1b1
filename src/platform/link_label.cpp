#include "link_label.h"

#include <QMouseEvent>

namespace korvane {

LinkLabel::LinkLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setCursor(Qt::PointingHandCursor);
  // Plain text: a caption is never interpreted as markup.
  setTextFormat(Qt::PlainText);
}

void LinkLabel::setOnClick(std::function<void()> onClick) { m_onClick = std::move(onClick); }

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  m_pressed = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = m_pressed && event->button() == Qt::LeftButton &&
                     rect().contains(event->position().toPoint());
  m_pressed = false;
  if (click && m_onClick)
    m_onClick();
  else
    QLabel::mouseReleaseEvent(event);
}

}  // namespace korvane
