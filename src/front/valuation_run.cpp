#include "front/valuation_run.h"

#include "front/extraction.h"
#include "front/figures.h"
#include "front/request_address.h"
#include "net/save.h"
#include "util/basic.h"
#include "util/markup.h"
#include "util/run_buffer.h"
#include "util/text_file.h"

#include <utility>

namespace korvane {

namespace {

// Clears the in-progress flag however DoProc is left, ProgramEnding included.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : m_flag(flag) { m_flag = true; }
  ~RunningFlag() { m_flag = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& m_flag;
};

}  // namespace

ValuationRun::ValuationRun(RunPorts ports, std::string listingHost)
    : m_ports(ports), m_listingHost(std::move(listingHost)) {}

void ValuationRun::DoProc() {
  // A click on Predict during a pause would start a second run on the same buffer and list.
  if (m_running) return;
  const RunningFlag running(m_running);

  RunBuffer& buffer = m_ports.buffer;
  ProgressList& progress = m_ports.progress;
  ReportView& report = m_ports.report;
  Waiter& waiter = m_ports.waiter;
  const WorkFolder& work = m_ports.workFolder;
  const auto address = [&] { return soldPricesAddress(m_listingHost, m_ports.inputs.postcode()); };

  progress.showOnTop();

  // From here on every step runs inside attempt(): a Failure skips the rest of that step only.
  attempt([&] { m_ports.browser.navigate(address()); });
  attempt([&] { progress.insertAtTop("Connecting to source..."); });
  // Each run starts from fresh work files and empty page fields, so it can only ever report its
  // own page: never one appended earlier, nor the last page when this one cannot be saved.
  attempt([&] {
    work.deleteWorkFiles();
    buffer.setText("txt_htmlsource", "");
    buffer.setText("txt_nohtmlsource", "");
  });
  attempt([&] { buffer.setText("txt_htmlsource", m_ports.pages.fetch(address())); });
  attempt([&] { waiter.wait(8); });
  attempt([&] {
    progress.append("Sending request...");
    SaveTextFile(buffer.text("txt_htmlsource"), work.entityHtml(), m_ports.messages);
  });
  const bool stripped = attempt([&] {
    killhtml(work.entityHtml(), work.comprmDat(),
             [&](const std::string& line) { m_ports.inputs.printLine(line); });
  });
  attempt([&] { waiter.wait(2); });
  attempt([&] {
    // A stripped page this run could not write is an earlier run's (its deletion failed too, as
    // in a read-only work folder): reading it would report that page again.
    if (!stripped && FileIsPresent(work.comprmDat())) return;
    LoadText(buffer, "txt_nohtmlsource", work.comprmDat(), m_ports.messages);
  });
  attempt([&] { cutStreetAndAverage(buffer); });
  attempt([&] { publishExtraction(buffer); });
  attempt([&] { buffer.setText("lbl_estdhouseprice", m_ports.inputs.valuation()); });
  attempt([&] { buffer.setText("lbl_period", m_ports.inputs.purchasedAgo()); });
  attempt([&] { progress.append("Data for: " + buffer.text("lbl_streetname")); });
  attempt([&] { waiter.wait(2); });

  FigureSteps figures(buffer);
  attempt([&] { figures.averageInPounds(); });
  attempt([&] { splitValuation(buffer, m_ports.inputs.valuation()); });
  attempt([&] {
    waiter.wait(2);
    progress.append("Downloading data...");
    waiter.wait(2);
  });
  attempt([&] { progress.append("RD: Push Client"); });
  attempt([&] { figures.yearlyFigures(); });
  attempt([&] { progress.append("Market at: " + figures.yearlyStep()); });
  attempt([&] { waiter.wait(2); });
  attempt([&] { figures.storeThousands(); });
  attempt([&] { progress.append("AVG Market: 5%"); });
  attempt([&] { figures.buildOwnerSeries(); });
  attempt([&] {
    figures.readMarketSeries();
    waiter.wait(2);
    figures.writeMarketSeries();
  });
  attempt([&] { progress.append("Drawing data"); });
  attempt([&] {
    const ReportTexts texts = figures.reportTexts();
    report.setCaption(ReportLabel::LBL_AVERAGEPROPERTYVALUE, texts.average);
    report.setCaption(ReportLabel::LBL_ESTVALUE5YEARS, texts.inFiveYears);
    report.setCaption(ReportLabel::LBL_DIFFERENCE, texts.fiveYearsAgo);
  });
  attempt([&] {
    progress.append("Complete");
    waiter.wait(2);
  });
  attempt([&] { progress.releaseFromTopAndHide(); });
  // The heading says what happened: the post code as typed, and whether the page gave an average.
  attempt([&] {
    const std::string heading =
        buffer.text("txt_num").empty() ? "No sold prices found for " : "Report for ";
    report.setCaption(ReportLabel::Label4, heading + m_ports.inputs.postcode());
  });
  attempt([&] { report.show(); });
  attempt([&] { report.RefreshGraph(); });
}

}  // namespace korvane
