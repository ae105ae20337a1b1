#pragma once

// The valuation run's ports, recorded, with the work folder property/ in a fresh temporary folder
// and a sold-prices page for Acacia Avenue.

#include "front/run_ports.h"
#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvane::test {

// A sold-prices page for the street with the given average ("250,000"), and the one for Acacia
// Avenue at £250,000.
inline std::string soldPricesPage(const std::string& street, const std::string& average) {
  return cp("<h1>Sold prices for post codes starting AB1</h1>\r\n<p><a href=\"/s\">Show " + street +
            " only</a></p>\r\n<td>£180,000</td>\r\n<p>" + street + ", £" + average +
            " average</p>\r\n<p>Buying a home?</p>");
}
inline const std::string kAcaciaPage = soldPricesPage("Acacia Avenue", "250,000");

struct FakeInputs final : RunInputs {
  std::string postcodeText = "AB1", valuationText = cp("£000,000"), purchasedAgoText = "1";
  std::vector<std::string> printed;
  std::string postcode() const override { return postcodeText; }
  std::string valuation() const override { return valuationText; }
  std::string purchasedAgo() const override { return purchasedAgoText; }
  void printLine(std::string_view line) override { printed.emplace_back(line); }
  void clearForAnotherValuation() override { postcodeText.clear(); }
};

// Keeps the list as the progress window does: a run's first line on top, the rest at the end.
struct RecordingProgress final : ProgressList {
  std::vector<std::string> lines;
  bool visible = false;
  void showOnTop() override { visible = true; }
  void insertAtTop(std::string_view line) override { lines.emplace(lines.begin(), line); }
  void append(std::string_view line) override { lines.emplace_back(line); }
  void releaseFromTopAndHide() override { visible = false; }
};

struct RecordingReport final : ReportView {
  std::map<ReportLabel, std::string> captions;
  bool visible = false;
  int refreshes = 0;
  void setCaption(ReportLabel label, std::string_view caption) override {
    captions[label] = caption;
  }
  void show() override { visible = true; }
  void RefreshGraph() override { ++refreshes; }
};

// Answers each fetch with the next of its pages ("" once they are used up).
struct ScriptedPages final : PageSource {
  std::vector<std::string> pages, urls;
  std::string fetch(const std::string& url) override {
    urls.push_back(url);
    return urls.size() <= pages.size() ? pages[urls.size() - 1] : std::string();
  }
};

// Records the seconds and returns at once; duringWait, when set, runs inside each wait with its
// index and may throw, as a real wait may.
struct RecordingWaiter final : Waiter {
  std::vector<double> seconds;
  std::function<void(std::size_t)> duringWait;
  void wait(double s) override {
    seconds.push_back(s);
    if (duringWait) duringWait(seconds.size() - 1);
  }
};

struct RecordingBrowser final : BrowserPane {
  std::vector<std::string> urls;
  void navigate(const std::string& url) override { urls.push_back(url); }
};

struct RunRig {
  TempDir programFolder;
  FakeInputs inputs;
  RecordingProgress progress;
  RecordingReport report;
  RecordingWaiter waiter;
  RecordingBrowser browser;
  RecordingMessageBoxes boxes;
  RunBuffer buffer;
  WorkFolder work{programFolder.path()};

  RunRig() { std::filesystem::create_directory(work.folder()); }
  RunPorts ports(PageSource& pages) {
    return {inputs, progress, report, pages, waiter, work, browser, boxes, buffer};
  }
};

}  // namespace korvane::test
