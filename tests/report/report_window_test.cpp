// The report window: its chart range and drawing from the run buffer, its links and Exit.

#include "report/report_window.h"

#include "chart/chart_widget.h"
#include "platform/link_label.h"
#include "platform/twips.h"
#include "report/chart_pixels.h"
#include "support/recording_link_opener.h"
#include "support/run_fakes.h"
#include "util/run_buffer.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

constexpr char kSite[] = "http://maker.example";

struct ReportRig {
  RunBuffer buffer;
  test::Journal journal;
  test::RecordingLinkOpener links;
  test::RecordingBrowser pane{journal};
  int unloads = 0;
  int anotherValuations = 0;
  frm_report report{
      kSite, buffer, links, pane, [this] { ++unloads; }, [this] { ++anotherValuations; }};

  void fillWorkedExample() {
    buffer.setText("txt_num", "250");
    buffer.setText("gph_array", "250,262,275,287,300,312");
    buffer.setText("gph_marketarray", "264,281,290,301,312,312,315,313,314");
  }
};

struct RangeCase {
  const char* behaviour;
  const char* average;
  const char* owner;
  const char* market;
  int maxValue;
};

TEST(ReportRefreshGraph, SetsTheChartRangeFromTheRunBuffer) {
  const RangeCase cases[] = {
      {"worked example", "250", "250,262,275,287,300,312", "264,281,290,301,312,312,315,313,314",
       350},
      {"no average found", "", ",0,0,0,0,0", "", 100},
      {"forecast above average plus 100", "500", "500,525,550,575,600,625", "", 625 + 63},
  };
  for (const RangeCase& c : cases) {
    ReportRig rig;
    rig.buffer.setText("txt_num", c.average);
    rig.buffer.setText("gph_array", c.owner);
    rig.buffer.setText("gph_marketarray", c.market);
    rig.report.RefreshGraph();
    const Chart& chart = rig.report.Chart1()->chart();
    EXPECT_EQ(chart.MaxValue(), c.maxValue) << c.behaviour;
    EXPECT_EQ(chart.MinValue(), 0) << c.behaviour;
    EXPECT_EQ(chart.Rows(), 10) << c.behaviour;
    EXPECT_EQ(chart.Cols(), 3) << c.behaviour;
  }
}

TEST(ReportRefreshGraph, DrawsTheOwnersSeriesRedAndTheMarketBlue) {
  ReportRig rig;
  rig.fillWorkedExample();
  rig.report.RefreshGraph();
  const QPixmap picture = rig.report.Chart1()->picture();
  EXPECT_GT(test::pixelsOf(picture, test::Hue::Red), 50);
  EXPECT_GT(test::pixelsOf(picture, test::Hue::Blue), 50);
}

TEST(ReportRefreshGraph, WithoutSeriesDrawsNoLines) {
  ReportRig rig;
  rig.buffer.setText("txt_num", "250");
  rig.buffer.setText("gph_array", "");
  rig.buffer.setText("gph_marketarray", "");
  rig.report.RefreshGraph();
  const QPixmap picture = rig.report.Chart1()->picture();
  // Only the legend's small swatches carry the series colours.
  EXPECT_LT(test::pixelsOf(picture, test::Hue::Red), 300);
  EXPECT_LT(test::pixelsOf(picture, test::Hue::Blue), 300);
  const int swatchesOnly = test::pixelsOf(picture, test::Hue::Red);

  rig.fillWorkedExample();
  rig.report.RefreshGraph();
  EXPECT_GT(test::pixelsOf(rig.report.Chart1()->picture(), test::Hue::Red), swatchesOnly + 50);
}

TEST(ReportRefreshGraph, TheLegendMenuRedrawsTheChartWithoutItsLegend) {
  ReportRig rig;
  rig.fillWorkedExample();
  rig.report.Form_Load();
  // Green is the third series' colour: it has no values, so only the legend shows it.
  EXPECT_GT(test::pixelsOf(rig.report.Chart1()->picture(), test::Hue::Green), 20);
  rig.report.Chart1()->mnuLegend()->trigger();
  EXPECT_EQ(test::pixelsOf(rig.report.Chart1()->picture(), test::Hue::Green), 0);
  EXPECT_GT(test::pixelsOf(rig.report.Chart1()->picture(), test::Hue::Red), 50);
}

TEST(ReportWindow, LoadDrawsShowsAndPointsTheHiddenPaneAtTheMakersSite) {
  ReportRig rig;
  rig.fillWorkedExample();
  rig.report.Form_Load();
  EXPECT_TRUE(rig.report.isVisible());
  EXPECT_EQ(rig.report.Chart1()->chart().MaxValue(), 350);
  EXPECT_EQ(rig.pane.urls, std::vector<std::string>{kSite});
  EXPECT_EQ(rig.report.windowTitle(), QString("Korvane - http://maker.example"));
  // The pane lies beyond the right edge of the fixed-size window, where nobody sees it.
  EXPECT_EQ(rig.report.size(), pxSize(6825, 8310));
  EXPECT_GE(rig.report.findChild<QWidget*>("WebBrowser1")->x(), rig.report.width());
}

TEST(ReportWindow, EachLinkClickOpensItsPageInANewBrowser) {
  ReportRig rig;
  rig.report.show();
  struct LinkCase {
    LinkLabel* label;
    const char* caption;
    std::string address;
  } cases[] = {
      {rig.report.Label9(), "Link to our website", std::string(kSite) + "/links.html"},
      {rig.report.Label2(), "More Tools", std::string(kSite) + "/mortgage-tools.html"},
      {rig.report.Label5(), "Visit our website", kSite},
  };
  for (const LinkCase& c : cases) {
    rig.links.opened.clear();
    EXPECT_EQ(c.label->text(), QString(c.caption));
    QTest::mouseClick(c.label, Qt::LeftButton);
    QTest::mouseClick(c.label, Qt::LeftButton);
    EXPECT_EQ(rig.links.opened, (std::vector<std::string>{c.address, c.address})) << c.caption;
  }
  EXPECT_EQ(rig.anotherValuations, 0);
}

TEST(ReportWindow, ExitUnloadsTheWindowAndAnotherPostCodeHandsOver) {
  ReportRig rig;
  rig.report.show();
  QTest::mouseClick(rig.report.Label7(), Qt::LeftButton);
  EXPECT_EQ(rig.anotherValuations, 1);
  EXPECT_EQ(rig.unloads, 0);

  EXPECT_EQ(rig.report.Command1()->text(), QString("&Exit"));
  QTest::mouseClick(rig.report.Command1(), Qt::LeftButton);
  EXPECT_EQ(rig.unloads, 1);
  EXPECT_FALSE(rig.report.isVisible());
}

TEST(ReportWindow, CaptionsShowPageTextAsTheRunWroteIt) {
  ReportRig rig;
  rig.report.setCaption(ReportLabel::LBL_AVERAGEPROPERTYVALUE,
                        "\xA3"
                        "250,000");
  rig.report.setCaption(ReportLabel::Label4, "Report for Heol Y Fr\xC3\xA2n");
  EXPECT_EQ(rig.report.label(ReportLabel::LBL_AVERAGEPROPERTYVALUE)->text(),
            QString::fromUtf8("£250,000"));
  EXPECT_EQ(rig.report.label(ReportLabel::Label4)->text(),
            QString::fromUtf8("Report for Heol Y Frân"));
}

}  // namespace
}  // namespace korvane
