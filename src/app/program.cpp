#include "program.h"

#include "front/main_window.h"
#include "report/progress_window.h"
#include "report/report_window.h"
#include "report/reset.h"
#include "util/program_end.h"
#include "util/run_buffer.h"

#include <QWidget>

#include <utility>

namespace korvane {

// The run reaches the progress and report windows through these, so that each window is loaded
// the first time the run touches it, as the program's other windows are.
class Program::LazyProgress final : public ProgressList {
 public:
  explicit LazyProgress(Program& program) : m_program(program) {}
  void showOnTop() override { m_program.progress().showOnTop(); }
  void insertAtTop(std::string_view line) override { m_program.progress().insertAtTop(line); }
  void append(std::string_view line) override { m_program.progress().append(line); }
  void releaseFromTopAndHide() override { m_program.progress().releaseFromTopAndHide(); }

 private:
  Program& m_program;
};

class Program::LazyReport final : public ReportView {
 public:
  explicit LazyReport(Program& program) : m_program(program) {}
  void setCaption(ReportLabel label, std::string_view caption) override {
    m_program.report().setCaption(label, caption);
  }
  void show() override { m_program.report().show(); }
  void RefreshGraph() override { m_program.report().RefreshGraph(); }

 private:
  Program& m_program;
};

Program::Program(ProgramSettings settings, ProgramServices services, std::function<void()> onEnded)
    : m_settings(std::move(settings)),
      m_services(services),
      m_onEnded(std::move(onEnded)),
      m_workFolder(m_settings.programFolder),
      m_buffer(std::make_unique<RunBuffer>()),
      m_lazyProgress(std::make_unique<LazyProgress>(*this)),
      m_lazyReport(std::make_unique<LazyReport>(*this)) {
  m_front =
      std::make_unique<frm_front>(m_settings.makerSite, m_settings.advertEmail, m_workFolder,
                                  m_services.messages, m_services.links, [this] { closeAll(); });
  m_run = std::make_unique<ValuationRun>(
      RunPorts{*m_front, *m_lazyProgress, *m_lazyReport, m_services.pages, m_services.waiter,
               m_workFolder, m_services.runBrowser, m_services.messages, *m_buffer},
      m_settings.listingHost);
  m_front->setValuationRun(m_run.get());
}

Program::~Program() {
  // The run must not outlive the windows it points at; it is idle once the event loop has left.
  m_front->setValuationRun(nullptr);
}

void Program::start() {
  m_loaded.push_back(m_front.get());
  m_front->Form_Load();
}

frm_compute& Program::progress() {
  if (!m_progress) {
    m_progress = std::make_unique<frm_compute>([this] { end(); });
    m_loaded.push_back(m_progress.get());
    m_progress->show();
  }
  return *m_progress;
}

frm_report& Program::report() {
  if (!m_report) {
    m_report = std::make_unique<frm_report>(
        m_settings.makerSite, *m_buffer, m_services.links, m_services.reportBrowser,
        [this] { closeAll(); }, [this] { evaluateAnother(); });
    m_loaded.push_back(m_report.get());
    m_report->Form_Load();
  }
  return *m_report;
}

std::vector<QString> Program::loadedWindows() const {
  std::vector<QString> names;
  for (const QWidget* window : m_loaded) names.push_back(window->objectName());
  return names;
}

void Program::closeAll() {
  // Closing a window from here calls back into closeAll through its unload handler.
  if (m_closingAll || m_ended) return;
  m_closingAll = true;
  const std::vector<QWidget*> windows = m_loaded;
  for (QWidget* window : windows) {
    if (window == m_progress.get()) break;  // its unload ends the program at once
    window->close();
  }
  m_closingAll = false;
  end();
}

void Program::end() {
  if (m_ended) return;
  m_ended = true;
  for (QWidget* window : m_loaded) window->hide();
  requestProgramEnd();
  if (m_onEnded) m_onEnded();
}

void Program::evaluateAnother() {
  if (m_ended) return;
  EvaluateAnotherPostCode(
      {*m_front, *m_front, progress(), report(), *m_buffer, m_workFolder, m_services.waiter});
}

}  // namespace korvane
