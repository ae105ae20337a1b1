#include "platform/wait.h"

#include "util/basic.h"

#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <ctime>
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

class WaitTest : public ::testing::Test {
 protected:
  void TearDown() override { resetProgramEnd(); }
};

// --- How long a wait lasts -------------------------------------------------------------------

TEST_F(WaitTest, ReturnsNoEarlierThanAskedGivenAsNumberOrText) {
  EXPECT_GE(timeOf([] { WaitSeconds(0.3); }), 300ms);
  EXPECT_GE(timeOf([] { WaitSeconds(std::string_view(" 0.3 ")); }), 300ms);
  EXPECT_GE(timeOf([] { WaitSeconds(std::string_view("0.25")); }), 250ms);
}

TEST_F(WaitTest, NothingToWaitForReturnsAtOnce) {
  const double numbers[] = {0.0, -1.0, -0.001, std::nan("")};
  for (const double seconds : numbers) {
    SCOPED_TRACE(seconds);
    EXPECT_LT(timeOf([&] { WaitSeconds(seconds); }), 50ms);
  }
  const char* texts[] = {"0", "-2", " -0.5"};
  for (const char* seconds : texts) {
    SCOPED_TRACE(seconds);
    EXPECT_LT(timeOf([&] { WaitSeconds(std::string_view(seconds)); }), 50ms);
  }
}

TEST_F(WaitTest, TextThatIsNotANumberIsATypeMismatch) {
  const char* texts[] = {"", " ", "two", "2s", "1,5", "0x10"};
  for (const char* seconds : texts) {
    SCOPED_TRACE(seconds);
    try {
      WaitSeconds(std::string_view(seconds));
      ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), FailureKind::TypeMismatch);
    }
  }
}

// --- The windows stay alive ------------------------------------------------------------------

TEST_F(WaitTest, ATimerPostedBeforeTheWaitFiresDuringIt) {
  Clock::duration firedAfter{};
  const auto started = Clock::now();
  bool fired = false;
  QTimer::singleShot(100, [&] {
    fired = true;
    firedAfter = Clock::now() - started;
  });
  WaitSeconds(0.4);
  EXPECT_TRUE(fired);
  EXPECT_LT(firedAfter, 400ms);
}

class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST_F(WaitTest, WindowsRepaintDuringTheWait) {
  PaintCounter window;
  window.resize(120, 80);
  window.show();
  WaitSeconds(0.1);  // let the first paint happen
  const int before = window.paints;
  QTimer::singleShot(50, &window, [&window] { window.update(); });
  WaitSeconds(0.3);
  EXPECT_GT(window.paints, before);
}

TEST_F(WaitTest, AWaitStartedInsideAWaitEndsFirstAndTheOuterStillLastsItsTime) {
  Clock::duration inner{};
  QTimer::singleShot(50, [&] { inner = timeOf([] { WaitSeconds(0.3); }); });
  const auto outer = timeOf([] { WaitSeconds(0.2); });
  EXPECT_GE(inner, 300ms);
  EXPECT_GE(outer, 200ms);
}

TEST_F(WaitTest, AnIdleWaitUsesNextToNoProcessorTime) {
  const std::clock_t before = std::clock();
  WaitSeconds(1.0);
  const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
  EXPECT_LT(cpuSeconds, 0.05);
}

// --- The program ending ----------------------------------------------------------------------

TEST_F(WaitTest, ProgramEndDuringAWaitThrowsProgramEndingAtOnce) {
  QTimer::singleShot(100, [] { requestProgramEnd(); });
  const auto took = timeOf([] { EXPECT_THROW(WaitSeconds(5.0), ProgramEnding); });
  EXPECT_LT(took, 2s);
}

TEST_F(WaitTest, ProgramEndUnwindsEveryNestedWait) {
  bool innerEnded = false;
  QTimer::singleShot(50, [&] {
    try {
      WaitSeconds(5.0);
    } catch (const ProgramEnding&) {
      innerEnded = true;
    }
  });
  QTimer::singleShot(150, [] { requestProgramEnd(); });
  EXPECT_THROW(WaitSeconds(5.0), ProgramEnding);
  EXPECT_TRUE(innerEnded);
}

TEST_F(WaitTest, OnceTheProgramIsEndingEveryWaitThrowsEvenAZeroOne) {
  requestProgramEnd();
  EXPECT_THROW(WaitSeconds(2.0), ProgramEnding);
  EXPECT_THROW(WaitSeconds(0.0), ProgramEnding);
  EXPECT_THROW(WaitSeconds(std::string_view("2")), ProgramEnding);
}

TEST_F(WaitTest, ProgramEndingIsNotSwallowedLikeAFailure) {
  requestProgramEnd();
  EXPECT_THROW(attempt([] { WaitSeconds(1.0); }), ProgramEnding);
}

}  // namespace
}  // namespace korvane
