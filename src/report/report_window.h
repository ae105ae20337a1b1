#pragma once

// frm_report: the result of a valuation run: three money figures, the chart of the owner's series
// against the market, links to the maker's web site, another valuation, and Exit.

#include "front/run_ports.h"
#include "platform/program_window.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace korvane {

class ChartWidget;
class LinkLabel;
class LinkOpener;
class RunBuffer;

class frm_report final : public ProgramWindow, public ReportView {
 public:
  // makerSite: the maker's web address (caption, links, hidden pane). webBrowser1 is the hidden
  // pane pointed at the maker's site on load. onUnload runs when the window is closed (Exit or its
  // close box): it closes every window of the program. onEvaluateAnother runs on a click on
  // "Evaluate another post code".
  frm_report(std::string makerSite, RunBuffer& buffer, LinkOpener& links, BrowserPane& webBrowser1,
             std::function<void()> onUnload, std::function<void()> onEvaluateAnother,
             QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(frm_report)

  // Draws the chart, shows the window and starts the hidden pane's load of the maker's site.
  void Form_Load();

  // Replaces a value label's or the heading's caption.
  void setCaption(ReportLabel label, std::string_view caption) override;
  // Makes the window visible (centred the first time).
  void show() override;
  // Redraws Chart1 from the run buffer's txt_num, gph_array and gph_marketarray. A step that
  // fails is skipped and the next one runs; nothing is ever reported.
  void RefreshGraph() override;

  ChartWidget* Chart1() const { return m_chart; }
  QLabel* label(ReportLabel label) const;
  QPushButton* Command1() const { return m_exit; }
  LinkLabel* Label9() const { return m_links9; }
  LinkLabel* Label2() const { return m_links2; }
  LinkLabel* Label5() const { return m_links5; }
  LinkLabel* Label7() const { return m_another; }

 private:
  void buildPictures();
  void buildCaptions();
  void buildLinks();
  // Gives a value label its caption and value as its name for assistive tools.
  void nameValue(QLabel* value);

  std::string m_makerSite;
  RunBuffer& m_buffer;
  LinkOpener& m_linkOpener;
  BrowserPane& m_webBrowser1;
  std::function<void()> m_onEvaluateAnother;

  QLabel* m_heading = nullptr;
  QLabel* m_inFiveYears = nullptr;
  QLabel* m_fiveYearsAgo = nullptr;
  QLabel* m_average = nullptr;
  QHash<QLabel*, const QLabel*> m_valueCaptions;  // each value label and its caption
  ChartWidget* m_chart = nullptr;
  LinkLabel* m_links9 = nullptr;
  LinkLabel* m_links2 = nullptr;
  LinkLabel* m_links5 = nullptr;
  LinkLabel* m_another = nullptr;
  QPushButton* m_exit = nullptr;
};

}  // namespace korvane
