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
  m_click.press(event);
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (m_click.release(event, rect()) && m_onClick)
    m_onClick();
  else
    QLabel::mouseReleaseEvent(event);
}

}  // namespace korvane
