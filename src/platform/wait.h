#pragma once

// Waiting while the windows stay alive: the run's pauses.

#include "util/program_end.h"

#include <string_view>

namespace korvane {

// Returns no earlier than `seconds` after the call, processing window events (repaints, clicks,
// keys, timers) meanwhile without spinning; 0, less or NaN returns at once. Measured on a
// monotonic clock, so midnight and clock changes do not matter. Needs the user-interface thread.
// Throws ProgramEnding at once, or as soon as requestProgramEnd() is called during the wait.
void WaitSeconds(double seconds);

// As above with the seconds as decimal text ("2", " 0.5"); surrounding blanks are allowed.
// Throws Failure(TypeMismatch) when the text is not one number.
void WaitSeconds(std::string_view seconds);

}  // namespace korvane
