#include "front/event_loop_waiter.h"

#include "platform/wait.h"

namespace korvane {

void EventLoopWaiter::wait(double seconds) { WaitSeconds(seconds); }

}  // namespace korvane
