#include "fixed_window.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace korvane {

void makeFixedWindow(QWidget* widget, int widthTwips, int heightTwips, bool minimisable) {
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (minimisable) flags |= Qt::WindowMinimizeButtonHint;
  widget->setWindowFlags(flags);
  widget->setFixedSize(pxSize(widthTwips, heightTwips));
}

void centreOnScreen(QWidget* widget) {
  QScreen* screen = widget->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = widget->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  // The frame may be larger than the client area; the window's own position is the frame's.
  widget->move(frame.topLeft());
}

}  // namespace korvane
