#pragma once

// For the start-up benchmark: reports on standard output the moment a window has painted for the
// first time, then leaves the event loop.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace korvane::bench {

class FirstPaintProbe final : public QObject {
 public:
  explicit FirstPaintProbe(QWidget* window) : QObject(window) { window->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_seen) {
      m_seen = true;
      // After the paint has been handled: the window is on the screen.
      QTimer::singleShot(0, [] {
        std::puts("shown");
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool m_seen = false;
};

}  // namespace korvane::bench
