// The run's pauses and the on-top band.

#include "platform/wait.h"

#include "platform/window_placement.h"
#include "util/basic.h"

#include <QTimer>
#include <QWidget>

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace korvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

Clock::duration timeOf(const std::function<void()>& step) {
  const auto started = Clock::now();
  step();
  return Clock::now() - started;
}

struct Wait : ::testing::Test {
  void TearDown() override { resetProgramEnd(); }
};

TEST_F(Wait, LastsNoLessThanAskedWhileTimersAndPaintsGoOn) {
  bool fired = false;
  QTimer::singleShot(100, [&] { fired = true; });
  EXPECT_GE(timeOf([] { WaitSeconds(0.3); }), 300ms);
  EXPECT_TRUE(fired);
  EXPECT_GE(timeOf([] { WaitSeconds(std::string_view(" +0.25 ")); }), 250ms);
  // A wait started inside a wait ends first; the outer one still lasts its own time.
  Clock::duration inner{};
  QTimer::singleShot(50, [&] { inner = timeOf([] { WaitSeconds(0.3); }); });
  EXPECT_GE(timeOf([] { WaitSeconds(0.2); }), 200ms);
  EXPECT_GE(inner, 300ms);
}

TEST_F(Wait, NothingToWaitForReturnsWithoutRunningEvents) {
  QTimer due;  // goes with the test, so it cannot fire in a later one
  bool fired = false;
  QObject::connect(&due, &QTimer::timeout, [&] { fired = true; });
  due.start(0);
  for (const double seconds : {0.0, -1.0, std::nan("")}) WaitSeconds(seconds);
  WaitSeconds(std::string_view(" -0.5"));
  EXPECT_FALSE(fired);
  for (const char* text : {"", " ", "two", "2s", "1,5", "0x10"})
    EXPECT_THAT(
        [&] { WaitSeconds(std::string_view(text)); },
        testing::Throws<Failure>(testing::Property(&Failure::kind, FailureKind::TypeMismatch)))
        << text;
}

TEST_F(Wait, TheProgramsEndUnwindsEveryWaitAndEveryLaterOne) {
  bool innerEnded = false;
  QTimer::singleShot(50, [&] {
    EXPECT_THROW(WaitSeconds(600.0), ProgramEnding);
    innerEnded = true;
  });
  QTimer::singleShot(150, [] { requestProgramEnd(); });
  EXPECT_THROW(WaitSeconds(600.0), ProgramEnding);
  EXPECT_TRUE(innerEnded);
  EXPECT_THROW(WaitSeconds(0.0), ProgramEnding);
  // It is not a Failure that a skipped step would swallow.
  EXPECT_THROW(attempt([] { WaitSeconds(std::string_view("2")); }), ProgramEnding);
}

TEST(SetWindowOnTop, TogglesTheFlagWithoutMovingShowingOrHidingTheWindow) {
  for (const bool shown : {true, false}) {
    QWidget window;
    window.setGeometry(140, 90, 320, 200);
    if (shown) window.show();
    const QRect place = window.geometry();
    for (const bool on : {true, false, true}) {
      SetWindowOnTop(&window, on);
      EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
      EXPECT_EQ(window.isVisible(), shown);
      EXPECT_EQ(window.geometry(), place);
    }
  }
  SetWindowOnTop(nullptr, true);
}

}  // namespace
}  // namespace korvane
