// The report window: its chart drawn from the run buffer, its links and Exit; the progress window.

#include "report/report_window.h"

#include "chart/chart_widget.h"
#include "platform/link_label.h"
#include "report/chart_top.h"
#include "report/progress_window.h"
#include "support/chart_pixels.h"
#include "support/recording_link_opener.h"
#include "support/run_fakes.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::Hue;
using test::pixelsOf;

struct ReportRig {
  RunBuffer buffer;
  test::RecordingLinkOpener links;
  test::RecordingBrowser pane;
  int unloads = 0, anotherValuations = 0;
  frm_report report{"http://maker.example",         buffer, links, pane, [this] { ++unloads; },
                    [this] { ++anotherValuations; }};
  QPixmap chart() const { return report.Chart1()->picture(); }
};

TEST(ReportWindow, DrawsTheOwnersSeriesRedAndTheMarketBlueOnAScaleThatHoldsThem) {
  ReportRig rig;
  rig.buffer.setText("txt_num", "500");
  rig.buffer.setText("gph_array", "");
  rig.buffer.setText("gph_marketarray", "");
  rig.report.Form_Load();
  // Without series only the legend's swatches carry the colours; green has no series at all.
  const int swatch = pixelsOf(rig.chart(), Hue::Red);
  EXPECT_LT(swatch, 300);
  EXPECT_GT(pixelsOf(rig.chart(), Hue::Green), 20);
  rig.buffer.setText("gph_array", "500,525,550,575,600,625");
  rig.buffer.setText("gph_marketarray", "530,562,580,601,625,625,628,626,627");
  rig.report.RefreshGraph();
  EXPECT_GT(pixelsOf(rig.chart(), Hue::Red), swatch + 50);
  EXPECT_GT(pixelsOf(rig.chart(), Hue::Blue), swatch + 50);
  EXPECT_EQ(rig.report.Chart1()->chart().MaxValue(),
            chartTop("500", "500,525,550,575,600,625", "530,562,580,601,625,625,628,626,627"));
  // "Legenda" redraws the chart without its legend.
  rig.report.Chart1()->mnuLegend()->trigger();
  EXPECT_EQ(pixelsOf(rig.chart(), Hue::Green), 0);
  EXPECT_GT(pixelsOf(rig.chart(), Hue::Red), 50);
}

TEST(ReportWindow, LoadsShownWithTheHiddenPaneOnTheMakersSiteAndShowsCaptionsAsWritten) {
  ReportRig rig;
  rig.report.Form_Load();
  EXPECT_TRUE(rig.report.isVisible());
  EXPECT_EQ(rig.pane.urls, std::vector<std::string>{"http://maker.example"});
  EXPECT_GE(rig.report.findChild<QWidget*>("WebBrowser1")->x(), rig.report.width());
  rig.report.setCaption(ReportLabel::LBL_AVERAGEPROPERTYVALUE, test::cp("£250,000"));
  rig.report.setCaption(ReportLabel::Label4, "Report for Heol Y Fr\xC3\xA2n");
  EXPECT_EQ(rig.report.label(ReportLabel::LBL_AVERAGEPROPERTYVALUE)->text(), "£250,000");
  EXPECT_EQ(rig.report.label(ReportLabel::Label4)->text(), "Report for Heol Y Frân");
}

TEST(ReportWindow, ReadsItsValuesWithTheirCaptionsAndItsChartInWordsAndOpensLegendaByKey) {
  ReportRig rig;
  rig.buffer.setText("txt_num", "250");
  rig.buffer.setText("gph_array", "250,262,275,287,300,312");
  rig.buffer.setText("gph_marketarray", "264,281,290,301,312,312,315,313,314");
  rig.report.Form_Load();
  rig.report.setCaption(ReportLabel::LBL_ESTVALUE5YEARS, test::cp("£317,000"));
  const auto name = [](QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
  };
  EXPECT_EQ(name(rig.report.label(ReportLabel::LBL_ESTVALUE5YEARS)),
            "Estimated property value in 5 years: £317,000");
  EXPECT_EQ(name(rig.report.label(ReportLabel::LBL_DIFFERENCE)),
            "Estimated property value 5 years ago: £");
  ChartWidget* chart = rig.report.Chart1();
  EXPECT_FALSE(name(chart).isEmpty());
  const QString description =
      QAccessible::queryAccessibleInterface(chart)->text(QAccessible::Description);
  EXPECT_TRUE(description.startsWith("Your property value: 2001 £250,000, 2006 £262,000"))
      << description.toStdString();
  EXPECT_TRUE(description.endsWith("The legend is at the lower right."))
      << description.toStdString();
  // From the keyboard alone: Tab reaches the chart, and Shift+F10 opens its menu.
  QApplication::setActiveWindow(&rig.report);
  chart->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(chart->hasFocus());
  QTest::keyClick(chart, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(chart->mnuMain()->isVisible());
  chart->mnuMain()->hide();
  chart->mnuLegend()->trigger();
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(chart)
                  ->text(QAccessible::Description)
                  .endsWith("The legend is hidden."));
}

TEST(ReportWindow, EachLinkOpensItsPageInANewBrowserAndExitUnloads) {
  ReportRig rig;
  rig.report.show();
  const std::string site = "http://maker.example";
  for (const auto& [label, address] : {std::pair{rig.report.Label9(), site + "/links.html"},
                                       {rig.report.Label2(), site + "/mortgage-tools.html"},
                                       {rig.report.Label5(), site}}) {
    rig.links.opened.clear();
    QTest::mouseClick(label, Qt::LeftButton);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(rig.links.opened, (std::vector<std::string>{address, address}));
  }
  EXPECT_EQ(rig.anotherValuations, 0);
  QTest::mouseClick(rig.report.Label7(), Qt::LeftButton);
  EXPECT_EQ(std::pair(rig.anotherValuations, rig.unloads), std::pair(1, 0));
  QTest::mouseClick(rig.report.Command1(), Qt::LeftButton);
  EXPECT_EQ(rig.unloads, 1);
  EXPECT_FALSE(rig.report.isVisible());
}

TEST(ProgressWindow, PutsARunsFirstLineOnTopAndKeepsItsLinesWhenHidden) {
  int unloads = 0;
  frm_compute progress([&] { ++unloads; });
  progress.showOnTop();
  EXPECT_TRUE(progress.isVisible());
  EXPECT_TRUE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  progress.insertAtTop("Connecting to source...");
  progress.append("Data for: Caf\xE9 Row");
  progress.insertAtTop("Connecting to source...");
  progress.releaseFromTopAndHide();
  EXPECT_FALSE(progress.isVisible());
  EXPECT_FALSE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(progress.lines(), (QStringList{"Connecting to source...", "Connecting to source...",
                                           "Data for: Café Row"}));
  // Assistive tools read each line as an item of the list.
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(progress.List1());
  ASSERT_EQ(list->childCount(), 3);
  EXPECT_EQ(list->child(2)->role(), QAccessible::ListItem);
  EXPECT_EQ(list->child(2)->text(QAccessible::Name), "Data for: Café Row");
  EXPECT_EQ(list->text(QAccessible::Name), "Please wait while Korvane calculates.");
  progress.clearList();
  EXPECT_TRUE(progress.lines().isEmpty());
  EXPECT_EQ(unloads, 0);
  progress.close();
  EXPECT_EQ(unloads, 1);
}

}  // namespace
}  // namespace korvane
