#pragma once

// "Evaluate another post code": back from a finished report to the main window for a new
// valuation, without the last run's work files, status lines and page fields.

#include <functional>

class QWidget;

namespace korvane {

class RunBuffer;
class RunInputs;
class Waiter;
class WorkFolder;
class frm_compute;

// What the reset touches. The referenced objects outlive the call.
struct AnotherValuation {
  QWidget& front;     // the main window frm_front
  RunInputs& inputs;  // its fields
  frm_compute& progress;
  QWidget& report;
  RunBuffer& buffer;
  const WorkFolder& workFolder;
  Waiter& waiter;
};

// Hides the main window, deletes entity.html and comprm.dat (a missing file is passed over),
// empties the progress list, pauses a second with the windows alive, empties the run buffer's
// eleven page and figure fields, clears the post code and the valuation, hides the report and
// shows the main window. When the program ends during the pause, the remaining steps are dropped.
void EvaluateAnotherPostCode(const AnotherValuation& targets);

}  // namespace korvane
