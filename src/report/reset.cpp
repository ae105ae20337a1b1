#include "reset.h"

#include "front/run_ports.h"
#include "report/progress_window.h"
#include "util/markup.h"
#include "util/program_end.h"
#include "util/run_buffer.h"

#include <QWidget>

namespace korvane {

void EvaluateAnotherPostCode(const AnotherValuation& targets) {
  targets.front.hide();
  targets.workFolder.deleteWorkFiles();
  targets.progress.clearList();
  try {
    targets.waiter.wait(1);
  } catch (const ProgramEnding&) {
    return;
  }
  targets.buffer.clearForAnotherValuation();
  targets.inputs.clearForAnotherValuation();
  targets.report.hide();
  targets.front.show();
}

}  // namespace korvane
