#pragma once

// valdrin's start: the application's name, icon and font, the program with its real services,
// and the event loop. main.cpp and the start-up benchmark both start the program through this.

#include "app/program.h"

#include <functional>

namespace korvane {

// Runs valdrin in the QApplication that exists and returns the event loop's exit code.
// beforeStart sees the program before its main window loads.
int runValdrin(ProgramSettings settings, const std::function<void(Program&)>& beforeStart = {});

}  // namespace korvane
