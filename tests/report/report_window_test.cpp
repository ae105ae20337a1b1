// The report window: its chart range and drawing from the run buffer, its links and Exit.

#include "report/report_window.h"

#include "chart/chart_widget.h"
#include "platform/link_label.h"
#include "platform/twips.h"
#include "report/chart_pixels.h"
#include "report/progress_window.h"
#include "support/caption_fit.h"
#include "support/recording_link_opener.h"
#include "support/run_fakes.h"
#include "util/run_buffer.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>
#include <utility>

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

TEST(ReportWindow, CaptionsCarryTheirDesignedWordingPlaceColourAndFont) {
  ReportRig rig;
  const QColor yellow(255, 255, 0), white(255, 255, 255), blue(0, 0, 255);
  const struct {
    const char* name;
    const char* text;  // UTF-8
    QRect box;
    QColor colour;
    const char* family;
    bool underline;
  } cases[] = {
      {"Label4", "Report", pxRect(1800, 960, 3855, 255), yellow, "Arial", false},
      {"Label1", "Estimated property value in 5 years:", pxRect(720, 1440, 3015, 255), white,
       "Arial", false},
      {"LBL_ESTVALUE5YEARS", "£", pxRect(1800, 1800, 2655, 255), yellow, "Arial", false},
      {"Label3", "Estimated property value 5 years ago:", pxRect(720, 2160, 3375, 255), white,
       "Arial", false},
      {"LBL_DIFFERENCE", "£", pxRect(1800, 2520, 2655, 255), yellow, "Arial", false},
      {"Label6", "Average property sale value in your area:", pxRect(720, 2880, 3615, 255), white,
       "Arial", false},
      {"LBL_AVERAGEPROPERTYVALUE", "£", pxRect(1800, 3240, 2655, 255), yellow, "Arial", false},
      {"Label9", "Link to our website", pxRect(120, 7560, 1695, 255), blue, "MS Sans Serif", true},
      {"Label2", "More Tools", pxRect(2040, 7560, 1095, 255), blue, "MS Sans Serif", true},
      {"Label5", "Visit our website", pxRect(3360, 7560, 1575, 255), blue, "MS Sans Serif", true},
      {"Label7", "Evaluate another post code", pxRect(120, 7920, 2415, 255), blue, "MS Sans Serif",
       true},
  };
  for (const auto& c : cases) {
    const auto* label = rig.report.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
    EXPECT_EQ(label->geometry(), c.box) << c.name;
    EXPECT_EQ(label->palette().color(QPalette::WindowText), c.colour) << c.name;
    EXPECT_FALSE(label->autoFillBackground()) << c.name;  // transparent over the picture
    const QFont font = label->font();
    EXPECT_EQ(font.family(), QString(c.family)) << c.name;
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << c.name;
    EXPECT_TRUE(font.bold()) << c.name;
    EXPECT_EQ(font.underline(), c.underline) << c.name;
  }
}

TEST(ReportWindow, PicturesChartButtonAndRulesFillTheirDesignedBoxes) {
  ReportRig rig;
  const struct {
    const char* name;
    QRect box;
  } cases[] = {
      {"frmimg", pxRect(0, 0, 6840, 7440)},        {"Image3", pxRect(1200, 840, 360, 360)},
      {"Image1", pxRect(120, 1320, 480, 480)},     {"Image2", pxRect(120, 2040, 465, 465)},
      {"Image4", pxRect(120, 2760, 480, 465)},     {"Chart1", pxRect(360, 3600, 6135, 3735)},
      {"Command1", pxRect(5280, 7560, 1455, 375)}, {"WebBrowser1", pxRect(8880, 1800, 1695, 2295)},
  };
  for (const auto& c : cases) {
    const auto* widget = rig.report.findChild<QWidget*>(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->geometry(), c.box) << c.name;
  }
  for (const auto& [name, top] : {std::pair{"Line1", 840}, std::pair{"Line2", 1200}}) {
    const auto* line = rig.report.findChild<QWidget*>(name);
    ASSERT_NE(line, nullptr) << name;
    EXPECT_EQ(line->geometry(), QRect(px(1800), px(top), px(5880) - px(1800), 1)) << name;
  }
  // The background picture lies behind every other control.
  EXPECT_EQ(rig.report.children().indexOf(rig.report.findChild<QWidget*>("frmimg")), 0);
}

TEST(ReportWindow, EveryCaptionShowsWholeWithTheLongestHeadingsAndFigures) {
  ReportRig rig;
  rig.report.show();
  const struct {
    ReportLabel label;
    const char* caption;
  } written[] = {
      {ReportLabel::Label4, "No sold prices found for SW1A 1AA"},
      {ReportLabel::LBL_ESTVALUE5YEARS,
       "\xA3"
       "32767,000"},
      {ReportLabel::LBL_DIFFERENCE,
       "\xA3"
       "-1234,000"},
      {ReportLabel::LBL_AVERAGEPROPERTYVALUE,
       "\xA3"
       "999,000"},
  };
  for (const auto& w : written) rig.report.setCaption(w.label, w.caption);
  EXPECT_EQ(test::clippedCaptions(rig.report), std::vector<std::string>{});
}

TEST(ReportAndProgressWindows, AreFixedSizeWithoutMinimiseOrMaximiseAndCentredWhenFirstShown) {
  ReportRig rig;
  frm_compute progress([] {});
  const struct {
    QWidget* window;
    QSize twips;
  } cases[] = {
      {&rig.report, QSize(6825, 8310)},
      {&progress, QSize(3975, 3015)},
  };
  for (const auto& c : cases) {
    const std::string name = c.window->objectName().toStdString();
    const QSize size = pxSize(c.twips.width(), c.twips.height());
    EXPECT_EQ(c.window->minimumSize(), size) << name;
    EXPECT_EQ(c.window->maximumSize(), size) << name;
    const Qt::WindowFlags flags = c.window->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << name;
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << name;
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << name;

    c.window->show();
    const QPoint centre = c.window->screen()->availableGeometry().center();
    EXPECT_LE((c.window->frameGeometry().center() - centre).manhattanLength(), 2) << name;
    // Shown again after a hide, the window stays where the user left it.
    c.window->move(c.window->pos() + QPoint(30, 20));
    const QPoint moved = c.window->pos();
    c.window->hide();
    c.window->show();
    EXPECT_EQ(c.window->pos(), moved) << name;
  }
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
