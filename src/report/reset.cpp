#include "reset.h"

#include "front/main_window.h"
#include "report/progress_window.h"
#include "util/markup.h"
#include "util/program_end.h"
#include "util/run_buffer.h"

#include <filesystem>
#include <system_error>

namespace korvane {

void EvaluateAnotherPostCode(const AnotherValuation& targets) {
  targets.front.hide();
  std::error_code ignored;
  std::filesystem::remove(targets.workFolder.entityHtml(), ignored);
  std::filesystem::remove(targets.workFolder.comprmDat(), ignored);
  targets.progress.clearList();
  try {
    targets.waiter.wait(1);
  } catch (const ProgramEnding&) {
    return;
  }
  targets.buffer.clearForAnotherValuation();
  targets.front.clearForAnotherValuation();
  targets.report.hide();
  targets.front.show();
}

}  // namespace korvane
