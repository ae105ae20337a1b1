#pragma once

// The run's pauses over the real wait, which keeps the windows alive.

#include "front/run_ports.h"

namespace korvane {

class EventLoopWaiter final : public Waiter {
 public:
  // WaitSeconds(seconds): processes window events meanwhile; throws ProgramEnding when the
  // program ends during the wait.
  void wait(double seconds) override;
};

}  // namespace korvane
