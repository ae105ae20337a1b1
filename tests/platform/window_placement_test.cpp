#include "platform/window_placement.h"

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// Counts the times a window is hidden, so that a change that should be invisible can be seen.
class HideCounter : public QWidget {
 public:
  int hides = 0;

 protected:
  void hideEvent(QHideEvent*) override { ++hides; }
};

bool onTop(const QWidget& window) {
  return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

TEST(SetWindowOnTop, TogglesTheFlagOnAShownWindowWithoutMovingOrResizingIt) {
  HideCounter window;
  window.setGeometry(140, 90, 320, 200);
  window.show();
  const QRect place = window.geometry();

  const bool steps[] = {true, false, true};
  for (const bool on : steps) {
    SCOPED_TRACE(on);
    SetWindowOnTop(&window, on);
    EXPECT_EQ(onTop(window), on);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), place);
  }
}

TEST(SetWindowOnTop, ClearingAFlagThatIsNotSetChangesNothing) {
  HideCounter window;
  window.setGeometry(10, 20, 200, 100);
  window.show();
  SetWindowOnTop(&window, false);
  EXPECT_FALSE(onTop(window));
  EXPECT_EQ(window.hides, 0);
  EXPECT_TRUE(window.isVisible());
}

TEST(SetWindowOnTop, AHiddenWindowStaysHiddenAndKeepsItsPlace) {
  QWidget window;
  window.setGeometry(50, 60, 300, 150);
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on);
    SetWindowOnTop(&window, on);
    EXPECT_EQ(onTop(window), on);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(50, 60));
    EXPECT_EQ(window.size(), QSize(300, 150));
  }
}

}  // namespace
}  // namespace korvane
