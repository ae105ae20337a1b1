#include "clickable.h"

#include "platform/link_label.h"
#include "platform/svg_picture.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTimer>
#include <QWidget>

namespace korvane {
namespace {

// A clickable control as assistive tools see it: its role, its caption as its name (or the name
// given it), and a press action that clicks it. Until it is given a click it is a plain caption
// or picture.
class AccessibleClickable final : public QAccessibleWidget {
 public:
  AccessibleClickable(QWidget* control, const Clickable& clickable)
      : QAccessibleWidget(control), m_clickable(clickable) {}

  QAccessible::Role role() const override {
    if (m_clickable.clickable()) return m_clickable.role();
    return qobject_cast<const QLabel*>(widget()) ? QAccessible::StaticText : QAccessible::Graphic;
  }
  QString text(QAccessible::Text kind) const override {
    const QString text = QAccessibleWidget::text(kind);
    if (kind != QAccessible::Name || !text.isEmpty()) return text;
    const auto* label = qobject_cast<const QLabel*>(widget());
    return label != nullptr ? label->text() : text;
  }
  QStringList actionNames() const override {
    const QStringList names = QAccessibleWidget::actionNames();
    return m_clickable.clickable() ? QStringList{pressAction()} + names : names;
  }
  void doAction(const QString& action) override {
    // As a push button's does, the press returns at once and the click follows: a valuation
    // runs for seconds, and the assistive tool waits for the answer.
    if (action == pressAction() && m_clickable.clickable())
      QTimer::singleShot(0, widget(), [&clickable = m_clickable] { clickable.click(); });
    else
      QAccessibleWidget::doAction(action);
  }

 private:
  const Clickable& m_clickable;
};

QAccessibleInterface* accessibleClickable(const QString&, QObject* object) {
  const Clickable* clickable = nullptr;
  if (auto* link = qobject_cast<LinkLabel*>(object)) clickable = &link->clicking();
  if (auto* picture = qobject_cast<SvgPicture*>(object)) clickable = &picture->clicking();
  if (clickable == nullptr) return nullptr;
  return new AccessibleClickable(static_cast<QWidget*>(object), *clickable);
}

}  // namespace

Clickable::Clickable(QWidget& control, QAccessible::Role role) : m_control(control), m_role(role) {
  static const bool installed = (QAccessible::installFactory(accessibleClickable), true);
  (void)installed;
}

void Clickable::setOnClick(std::function<void()> onClick) {
  m_onClick = std::move(onClick);
  m_control.setCursor(m_onClick ? Qt::PointingHandCursor : Qt::ArrowCursor);
  m_control.setFocusPolicy(m_onClick ? Qt::TabFocus : Qt::NoFocus);
}

void Clickable::click() const {
  if (m_onClick) m_onClick();
}

void Clickable::mousePress(const QMouseEvent* event) {
  m_pressed = event->button() == Qt::LeftButton;
}

bool Clickable::mouseRelease(const QMouseEvent* event) {
  const bool click = m_pressed && event->button() == Qt::LeftButton &&
                     m_control.rect().contains(event->position().toPoint());
  m_pressed = false;
  return click && clickable();
}

bool Clickable::keyPress(const QKeyEvent* event) {
  const int key = event->key();
  return clickable() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
         (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space);
}

void paintFocusMark(QWidget& control, QPainter& painter) {
  if (!control.hasFocus()) return;
  QStyleOptionFocusRect option;
  option.initFrom(&control);
  option.state |= QStyle::State_KeyboardFocusChange;
  control.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &control);
}

void Clickable::paintFocusMark() const {
  if (!m_control.hasFocus()) return;
  QPainter painter(&m_control);
  korvane::paintFocusMark(m_control, painter);
}

}  // namespace korvane
