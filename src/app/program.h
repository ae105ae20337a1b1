#pragma once

// The program: its windows in load order, the valuation run that joins them, closing everything
// and ending.

#include "front/run_ports.h"
#include "front/valuation_run.h"
#include "util/markup.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace korvane {

class LinkOpener;
class MessageBoxes;
class RunBuffer;
class frm_compute;
class frm_front;
class frm_report;

// The build-time addresses and the folder the program runs from.
struct ProgramSettings {
  std::string listingHost;
  std::string makerSite;
  std::string advertEmail;
  std::filesystem::path programFolder;
};

// The desktop services the program uses; each outlives the Program.
struct ProgramServices {
  MessageBoxes& messages;
  LinkOpener& links;
  PageSource& pages;
  Waiter& waiter;
  BrowserPane& runBrowser;     // the run buffer's WebBrowser1
  BrowserPane& reportBrowser;  // the report window's WebBrowser1
};

class Program {
 public:
  // onEnded runs once when the program ends (it leaves the event loop).
  Program(ProgramSettings settings, ProgramServices services, std::function<void()> onEnded);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Loads the main window: shows it on top and deletes the work files of an earlier run.
  void start();

  frm_front& front() { return *m_front; }
  // The progress window, loaded (and so shown) on first use.
  frm_compute& progress();
  // The report window, loaded on first use: its chart is drawn and it is shown.
  frm_report& report();
  RunBuffer& buffer() { return *m_buffer; }
  const WorkFolder& workFolder() const { return m_workFolder; }

  // The object names of the windows loaded so far, in load order.
  std::vector<QString> loadedWindows() const;

  // Unloads every loaded window in load order; reaching the progress window ends the program at
  // once, and so does the end of the list. Never fails.
  void closeAll();
  // Ends the program at once: every window goes, a wait in progress unwinds its run, onEnded runs.
  void end();
  bool ended() const { return m_ended; }

 private:
  class LazyProgress;
  class LazyReport;

  void evaluateAnother();

  ProgramSettings m_settings;
  ProgramServices m_services;
  std::function<void()> m_onEnded;
  WorkFolder m_workFolder;
  std::unique_ptr<RunBuffer> m_buffer;
  std::unique_ptr<frm_front> m_front;
  std::unique_ptr<frm_compute> m_progress;
  std::unique_ptr<frm_report> m_report;
  std::unique_ptr<LazyProgress> m_lazyProgress;
  std::unique_ptr<LazyReport> m_lazyReport;
  std::unique_ptr<ValuationRun> m_run;
  std::vector<QWidget*> m_loaded;
  bool m_closingAll = false;
  bool m_ended = false;
};

}  // namespace korvane
