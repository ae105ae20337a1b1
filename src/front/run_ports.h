#pragma once

// The small interfaces through which the valuation run reaches the windows and the desktop. The
// windows implement them; tests pass fakes. Every text is Windows-1252 bytes.
//
// Any method may throw korvane::Failure; the run then skips the step that called it. A Waiter may
// also throw ProgramEnding (util/program_end.h), which the run lets through.

#include "net/page_source.h"
#include "util/markup.h"

#include <string>
#include <string_view>

namespace korvane {

class MessageBoxes;
class RunBuffer;

// The main window's inputs, read at the step that needs them.
class RunInputs {
 public:
  virtual ~RunInputs() = default;
  // The text of txt_postcode exactly as typed.
  virtual std::string postcode() const = 0;
  // The text of txt_valuation exactly as typed.
  virtual std::string valuation() const = 0;
  // The text of txt_purchasedago exactly as chosen or typed.
  virtual std::string purchasedAgo() const = 0;
  // Writes one line of text on the main window's surface, below the lines written before (the
  // markup stripper's date-and-time lines). They carry no meaning for the run.
  virtual void printLine(std::string_view line) { (void)line; }
  // After "Evaluate another post code": empties the post code and resets the valuation; the
  // lists keep their choice.
  virtual void clearForAnotherValuation() = 0;
};

// The progress window frm_compute and its status list List1.
class ProgressList {
 public:
  virtual ~ProgressList() = default;
  // Loads the window if needed, puts it on top of all other windows and makes it visible.
  virtual void showOnTop() = 0;
  // Inserts line as the first entry of the list.
  virtual void insertAtTop(std::string_view line) = 0;
  // Appends line as the last entry of the list.
  virtual void append(std::string_view line) = 0;
  // Releases the window from the on-top band, then hides it (not closed: the list keeps its lines).
  virtual void releaseFromTopAndHide() = 0;
};

// The captions of the report window frm_report that the run writes.
enum class ReportLabel {
  LBL_AVERAGEPROPERTYVALUE,
  LBL_ESTVALUE5YEARS,
  LBL_DIFFERENCE,
  Label4,  // the heading
};

// The report window frm_report as the run sees it.
class ReportView {
 public:
  virtual ~ReportView() = default;
  // Replaces the caption of label (loading the window first if needed).
  virtual void setCaption(ReportLabel label, std::string_view caption) = 0;
  // Makes the window visible.
  virtual void show() = 0;
  // Redraws the chart from the run buffer; never reports an error.
  virtual void RefreshGraph() = 0;
};

// The run's pauses.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Returns after at least seconds, keeping the windows alive meanwhile. Throws ProgramEnding when
  // the program ends during the wait.
  virtual void wait(double seconds) = 0;
};

// Everything one valuation run talks to. The referenced objects outlive the run.
struct RunPorts {
  RunInputs& inputs;
  ProgressList& progress;
  ReportView& report;
  PageSource& pages;
  Waiter& waiter;
  const WorkFolder& workFolder;  // util/markup.h: the two work files
  BrowserPane& browser;          // the run buffer's WebBrowser1
  MessageBoxes& messages;
  RunBuffer& buffer;
};

}  // namespace korvane
