// The program as the user drives it: typing, Predict, the report, another post code, and ending.

#include "app/program_rig.h"
#include "chart/chart_widget.h"
#include "front/main_window.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "report/chart_pixels.h"
#include "report/progress_window.h"
#include "report/report_window.h"
#include "util/run_buffer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// Types the details of a house in AB1 and clicks Predict.
void predictForAcaciaAvenue(frm_front& front) {
  QTest::keyClicks(front.txt_postcode(), "AB1");
  front.txt_bedrooms()->setCurrentIndex(2);
  front.txt_propertytype()->lineEdit()->clear();
  QTest::keyClicks(front.txt_propertytype(), "Detached");
  front.txt_valuation()->selectAll();
  QTest::keyClicks(front.txt_valuation(), QString::fromUtf8("£260,000"));
  front.txt_purchasedago()->setCurrentIndex(6);
  QTest::mouseClick(front.Image3(), Qt::LeftButton);
}

QString caption(frm_report& report, ReportLabel label) { return report.label(label)->text(); }

TEST(ProgramRun, FromTypingToTheReportWithItsFiguresAndChart) {
  test::ProgramRig rig;
  rig.program->start();
  predictForAcaciaAvenue(rig.program->front());

  frm_report& report = rig.program->report();
  EXPECT_TRUE(report.isVisible());
  EXPECT_EQ(caption(report, ReportLabel::LBL_AVERAGEPROPERTYVALUE), QString::fromUtf8("£250,000"));
  EXPECT_EQ(caption(report, ReportLabel::LBL_ESTVALUE5YEARS), QString::fromUtf8("£312,000"));
  EXPECT_EQ(caption(report, ReportLabel::LBL_DIFFERENCE), QString::fromUtf8("£237,000"));
  EXPECT_EQ(caption(report, ReportLabel::Label4), QString("Report for AB1"));
  const QPixmap chart = report.Chart1()->picture();
  EXPECT_GT(test::pixelsOf(chart, test::Hue::Red), 50);
  EXPECT_GT(test::pixelsOf(chart, test::Hue::Blue), 50);
  EXPECT_EQ(report.Chart1()->chart().MaxValue(), 350);

  frm_compute& progress = rig.program->progress();
  EXPECT_FALSE(progress.isVisible());
  EXPECT_EQ(progress.lines().size(), 9);
  EXPECT_EQ(progress.lines().front(), QString("Connecting to source..."));
  EXPECT_EQ(progress.lines().back(), QString("Complete"));
  EXPECT_EQ(rig.waiter.seconds, (std::vector<double>{8, 2, 2, 2, 2, 2, 2, 2}));
  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_EQ(rig.server.requests().size(), 1u);
  EXPECT_EQ(rig.reportBrowser.urls, std::vector<std::string>{"http://maker.example"});
  EXPECT_EQ(rig.program->loadedWindows(),
            (std::vector<QString>{"frm_front", "frm_compute", "frm_report"}));
  EXPECT_EQ(rig.program->buffer().text("lbl_estdhouseprice"),
            "\xA3"
            "260,000");
  EXPECT_EQ(rig.program->buffer().text("lbl_period"), "7");
}

TEST(ProgramRun, ASecondPredictDuringAPauseDoesNothing) {
  test::ProgramRig rig;
  rig.program->start();
  rig.endWaitsWhenTheProgramEnds();
  int clicksDuringRun = 0;
  rig.duringPause = [&](std::size_t index) {
    if (index == 2) {
      QTest::mouseClick(rig.program->front().Image3(), Qt::LeftButton);
      ++clicksDuringRun;
    }
  };
  predictForAcaciaAvenue(rig.program->front());
  EXPECT_EQ(clicksDuringRun, 1);
  EXPECT_EQ(rig.server.requests().size(), 1u);
  EXPECT_EQ(rig.waiter.seconds.size(), 8u);
  EXPECT_EQ(rig.program->progress().lines().size(), 9);
  EXPECT_TRUE(rig.boxes.shown().empty());
}

TEST(ProgramRun, ClosingAWindowDuringAPauseEndsTheProgram) {
  const struct {
    const char* behaviour;
    std::function<void(Program&)> close;
  } cases[] = {
      {"close box of the progress window", [](Program& p) { p.progress().close(); }},
      {"close box of the main window", [](Program& p) { p.front().close(); }},
  };
  for (const auto& c : cases) {
    test::ProgramRig rig;
    rig.program->start();
    rig.endWaitsWhenTheProgramEnds();
    rig.duringPause = [&](std::size_t index) {
      if (index == 3) c.close(*rig.program);
    };
    predictForAcaciaAvenue(rig.program->front());  // returns: the run unwound quietly

    EXPECT_TRUE(rig.program->ended()) << c.behaviour;
    EXPECT_EQ(rig.endings, 1) << c.behaviour;
    EXPECT_EQ(rig.waiter.seconds.size(), 4u) << c.behaviour;
    EXPECT_FALSE(rig.program->front().isVisible()) << c.behaviour;
    EXPECT_FALSE(rig.program->progress().isVisible()) << c.behaviour;
    // The run never reached the report.
    EXPECT_EQ(rig.program->loadedWindows(), (std::vector<QString>{"frm_front", "frm_compute"}))
        << c.behaviour;
  }
}

TEST(ProgramReset, EvaluateAnotherPostCodeStartsAfresh) {
  test::ProgramRig rig;
  rig.program->start();
  frm_front& front = rig.program->front();
  predictForAcaciaAvenue(front);
  const WorkFolder& work = rig.program->workFolder();
  ASSERT_TRUE(std::filesystem::exists(work.entityHtml()));
  const std::string ownerSeries = rig.program->buffer().text("gph_array");

  QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);

  EXPECT_EQ(front.txt_postcode()->text(), QString());
  EXPECT_EQ(front.txt_valuation()->text(), QString::fromUtf8("£000,000"));
  EXPECT_EQ(front.txt_bedrooms()->currentText(), QString("3"));
  EXPECT_EQ(front.txt_propertytype()->currentText(), QString("Detached"));
  EXPECT_EQ(front.txt_purchasedago()->currentText(), QString("7"));
  EXPECT_TRUE(rig.program->progress().lines().isEmpty());
  EXPECT_FALSE(std::filesystem::exists(work.entityHtml()));
  EXPECT_FALSE(std::filesystem::exists(work.comprmDat()));
  EXPECT_TRUE(front.isVisible());
  EXPECT_FALSE(rig.program->report().isVisible());
  EXPECT_EQ(rig.waiter.seconds.back(), 1);
  EXPECT_EQ(rig.program->buffer().text("txt_num"), "");
  EXPECT_EQ(rig.program->buffer().text("gph_array"), ownerSeries);

  // A second click finds nothing left to delete and ends in the same state.
  rig.program->report().show();
  QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
  EXPECT_TRUE(front.isVisible());
  EXPECT_FALSE(rig.program->report().isVisible());
  EXPECT_TRUE(rig.boxes.shown().empty());

  // The next run lists its own lines only, from the top.
  QTest::keyClicks(front.txt_postcode(), "AB1");
  QTest::mouseClick(front.Image3(), Qt::LeftButton);
  EXPECT_EQ(rig.program->progress().lines().size(), 9);
  EXPECT_TRUE(rig.program->report().isVisible());
  EXPECT_EQ(caption(rig.program->report(), ReportLabel::LBL_AVERAGEPROPERTYVALUE),
            QString::fromUtf8("£250,000"));
  // The report stayed loaded: its load handler, and the hidden pane's load, ran once only.
  EXPECT_EQ(rig.reportBrowser.urls, std::vector<std::string>{"http://maker.example"});
  EXPECT_EQ(rig.program->loadedWindows(),
            (std::vector<QString>{"frm_front", "frm_compute", "frm_report"}));
}

TEST(ProgramEnd, ExitClosingTheReportOrTheMainWindowEndsTheProgram) {
  const struct {
    const char* behaviour;
    bool runFirst;
    std::function<void(Program&)> close;
  } cases[] = {
      {"Exit on the report", true,
       [](Program& p) { QTest::mouseClick(p.report().Command1(), Qt::LeftButton); }},
      {"close box of the report", true, [](Program& p) { p.report().close(); }},
      {"close box of the main window after a run", true, [](Program& p) { p.front().close(); }},
      {"close box of the main window before any run", false, [](Program& p) { p.front().close(); }},
  };
  for (const auto& c : cases) {
    test::ProgramRig rig;
    rig.program->start();
    if (c.runFirst) predictForAcaciaAvenue(rig.program->front());
    c.close(*rig.program);
    EXPECT_TRUE(rig.program->ended()) << c.behaviour;
    EXPECT_EQ(rig.endings, 1) << c.behaviour;
    EXPECT_TRUE(programEndRequested()) << c.behaviour;
    EXPECT_FALSE(rig.program->front().isVisible()) << c.behaviour;
    if (c.runFirst) {
      EXPECT_FALSE(rig.program->report().isVisible()) << c.behaviour;
    }
  }
}

}  // namespace
}  // namespace korvane
