#pragma once

// What makes a control clickable with the mouse and from the keyboard: a left-button press and
// release over it, or Enter, Return or Space while it has the keyboard focus. It takes the focus
// from the keyboard only (Tab), so a mouse click changes nothing of its looks, and shows a focus
// mark drawn in the window's style while it has it. Assistive tools see it with the given role
// (a push button or a link) and a press action.

#include <QAccessible>

#include <functional>

class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;

namespace korvane {

// Paints the window style's focus mark over control with painter while control has the keyboard
// focus. For controls that take the focus from the keyboard only, so the mark is always due.
void paintFocusMark(QWidget& control, QPainter& painter);

class Clickable {
 public:
  Clickable(QWidget& control, QAccessible::Role role);

  // onClick runs on each click; an empty one makes the control plain: no focus, arrow cursor.
  void setOnClick(std::function<void()> onClick);
  bool clickable() const { return static_cast<bool>(m_onClick); }
  // Runs onClick, as a click does.
  void click() const;

  // The control's event handlers call these; each returns true when the event was a click.
  void mousePress(const QMouseEvent* event);
  bool mouseRelease(const QMouseEvent* event);
  bool keyPress(const QKeyEvent* event);
  // Paints the focus mark over the control while it has the keyboard focus.
  void paintFocusMark() const;

  QAccessible::Role role() const { return m_role; }

 private:
  QWidget& m_control;
  QAccessible::Role m_role;
  std::function<void()> m_onClick;
  bool m_pressed = false;
};

}  // namespace korvane
