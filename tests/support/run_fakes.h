#pragma once

// Fakes for the valuation run's ports. They all write to one journal, so a test can check the
// order of what a run did across the windows: status lines, pauses, captions, the report.

#include "front/run_ports.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvane::test {

using Journal = std::vector<std::string>;

class FakeInputs final : public RunInputs {
 public:
  std::string postcodeText = "AB1";
  std::string valuationText =
      "\xA3"
      "000,000";
  std::string purchasedAgoText = "1";
  std::vector<std::string> printed;

  std::string postcode() const override { return postcodeText; }
  std::string valuation() const override { return valuationText; }
  std::string purchasedAgo() const override { return purchasedAgoText; }
  void printLine(std::string_view line) override { printed.emplace_back(line); }
  void clearForAnotherValuation() override { postcodeText.clear(); }
};

// Keeps the list as the progress window would: first-of-run lines at the top, the rest at the end.
class RecordingProgress final : public ProgressList {
 public:
  explicit RecordingProgress(Journal& journal) : m_journal(journal) {}
  std::vector<std::string> lines;
  bool visible = false;
  bool onTop = false;

  void showOnTop() override;
  void insertAtTop(std::string_view line) override;
  void append(std::string_view line) override;
  void releaseFromTopAndHide() override;

 private:
  Journal& m_journal;
};

class RecordingReport final : public ReportView {
 public:
  explicit RecordingReport(Journal& journal) : m_journal(journal) {}
  std::map<ReportLabel, std::string> captions;
  bool visible = false;
  int refreshes = 0;

  void setCaption(ReportLabel label, std::string_view caption) override;
  void show() override;
  void RefreshGraph() override;

 private:
  Journal& m_journal;
};

// Answers each fetch with the next page of a script ("" once the script is used up).
class ScriptedPages final : public PageSource {
 public:
  explicit ScriptedPages(Journal& journal) : m_journal(journal) {}
  std::vector<std::string> pages;
  std::vector<std::string> urls;

  std::string fetch(const std::string& url) override;

 private:
  Journal& m_journal;
};

// Records the requested seconds and returns at once. duringWait, when set, runs inside each wait
// with the wait's index (0 for the first of the whole test); it may throw, as a real wait may.
class RecordingWaiter final : public Waiter {
 public:
  explicit RecordingWaiter(Journal& journal) : m_journal(journal) {}
  std::vector<double> seconds;
  std::function<void(std::size_t)> duringWait;

  void wait(double s) override;

 private:
  Journal& m_journal;
};

class RecordingBrowser final : public BrowserPane {
 public:
  explicit RecordingBrowser(Journal& journal) : m_journal(journal) {}
  std::vector<std::string> urls;

  void navigate(const std::string& url) override;

 private:
  Journal& m_journal;
};

// The journal's name for a report label.
const char* labelName(ReportLabel label);

}  // namespace korvane::test
