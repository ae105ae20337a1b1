#include "link_label.h"

#include <QMouseEvent>

namespace korvane {

LinkLabel::LinkLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  // Plain text: a caption is never interpreted as markup.
  setTextFormat(Qt::PlainText);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  m_clicking.paintFocusMark();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  if (m_clicking.keyPress(event))
    m_clicking.click();
  else
    QLabel::keyPressEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  m_clicking.mousePress(event);
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (m_clicking.mouseRelease(event))
    m_clicking.click();
  else
    QLabel::mouseReleaseEvent(event);
}

}  // namespace korvane
