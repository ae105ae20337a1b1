#include "wait.h"

#include "util/basic.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <charconv>
#include <chrono>
#include <cmath>
#include <thread>

namespace korvane {
namespace {

using Clock = std::chrono::steady_clock;

// Qt timers take whole milliseconds in an int; a long wait is covered in several slices.
constexpr std::chrono::milliseconds kLongestSlice{24 * 60 * 60 * 1000};

std::chrono::milliseconds sliceUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  return std::min(left, kLongestSlice);
}

Clock::time_point deadlineAfter(double seconds) {
  const std::chrono::duration<double> wanted(seconds);
  const auto farthest = Clock::time_point::max() - Clock::now();
  if (wanted >= std::chrono::duration<double>(farthest)) return Clock::time_point::max();
  return Clock::now() + std::chrono::ceil<Clock::duration>(wanted);
}

}  // namespace

void WaitSeconds(double seconds) {
  if (programEndRequested()) throw ProgramEnding();
  if (!(seconds > 0)) return;
  const Clock::time_point deadline = deadlineAfter(seconds);

  if (QCoreApplication::instance() == nullptr) {
    // No event loop to keep alive (a tool or test without windows): a plain sleep does the job.
    std::this_thread::sleep_until(deadline);
    return;
  }

  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  ProgramEndListener listener([&loop] { loop.quit(); });
  // The timer may fire a little early, and a nested wait started from an event handler may keep
  // this loop from returning on time: the clock decides, never the timer alone.
  while (Clock::now() < deadline) {
    timer.start(sliceUntil(deadline));
    loop.exec();
    if (programEndRequested()) throw ProgramEnding();
  }
}

void WaitSeconds(std::string_view seconds) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!seconds.empty() && blank(seconds.front())) seconds.remove_prefix(1);
  while (!seconds.empty() && blank(seconds.back())) seconds.remove_suffix(1);
  if (!seconds.empty() && seconds.front() == '+') seconds.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
  if (seconds.empty() || error != std::errc() || end != seconds.data() + seconds.size())
    throw Failure(FailureKind::TypeMismatch);
  WaitSeconds(value);
}

}  // namespace korvane
