#pragma once

// A control's Click: a left press and a left release over the control, as the designer's
// controls report it.

#include <QMouseEvent>
#include <QRect>

namespace korvane {

class ClickTracker {
 public:
  void press(const QMouseEvent* event) { m_pressed = event->button() == Qt::LeftButton; }
  // True iff this release completes a click inside area.
  bool release(const QMouseEvent* event, const QRect& area) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       area.contains(event->position().toPoint());
    m_pressed = false;
    return click;
  }

 private:
  bool m_pressed = false;
};

}  // namespace korvane
