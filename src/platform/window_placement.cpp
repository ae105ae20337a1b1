#include "window_placement.h"

#include <QWidget>

namespace korvane {

void SetWindowOnTop(QWidget* window, bool on) {
  if (window == nullptr) return;
  if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) {
    if (on && window->isVisible()) window->raise();
    return;
  }
  // Changing a window's flags hides it and may let the window system place it anew: keep its
  // place and size, and show it again only when it was shown.
  const bool wasVisible = window->isVisible();
  const QPoint place = window->pos();
  const QSize size = window->size();
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  window->resize(size);
  window->move(place);
  if (wasVisible) {
    window->show();
    if (on) window->raise();
  }
}

}  // namespace korvane
