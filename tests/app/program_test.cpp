// The program as the user drives it: typing, Predict, the report, another post code, and ending,
// at ordinary and at awkward moments.

#include "program_rig.h"

#include "chart/chart_widget.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "report/progress_window.h"
#include "report/report_window.h"
#include "support/chart_pixels.h"
#include "util/run_buffer.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace korvane {
namespace {

constexpr std::size_t kPausesPerRun = 8;
using Windows = std::vector<QString>;

void expectNoWindowShown() {
  for (const QWidget* window : QApplication::topLevelWidgets())
    EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

// Presses key on the widget with the keyboard focus.
void press(int key, const QString& text = {}) {
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  if (text.isEmpty())
    QTest::keyClick(focused, Qt::Key(key));
  else
    QTest::keyClicks(focused, text);
}

// Presses Tab until target (or the field inside it) has the focus; false when it never does.
bool tabTo(const QWidget* target) {
  for (int presses = 0; presses < 12; ++presses) {
    const QWidget* focused = QApplication::focusWidget();
    if (focused == target || target->isAncestorOf(focused)) return true;
    press(Qt::Key_Tab);
  }
  return false;
}

TEST(Program, RunsFromTypingToTheReportAndEvaluatesAnotherWithTheKeyboardAlone) {
  test::ProgramRig rig;
  frm_front& front = rig.program->front();
  QApplication::setActiveWindow(&front);
  ASSERT_TRUE(tabTo(front.txt_postcode()));
  press(0, "AB1");
  ASSERT_TRUE(tabTo(front.txt_bedrooms()));
  press(Qt::Key_Down);
  ASSERT_TRUE(tabTo(front.txt_propertytype()));
  press(Qt::Key_Backspace);
  press(0, "Detached");
  ASSERT_TRUE(tabTo(front.txt_purchasedago()));
  press(Qt::Key_Backspace);
  press(0, "7");
  ASSERT_TRUE(tabTo(front.Image3()));
  press(Qt::Key_Return);

  frm_report& report = rig.program->report();
  ASSERT_TRUE(report.isVisible());
  const auto caption = [&](ReportLabel label) { return report.label(label)->text(); };
  EXPECT_EQ(caption(ReportLabel::LBL_AVERAGEPROPERTYVALUE), "£250,000");
  EXPECT_EQ(caption(ReportLabel::Label4), "Report for AB1");
  EXPECT_GT(test::pixelsOf(report.Chart1()->picture(), test::Hue::Red), 50);
  EXPECT_GT(test::pixelsOf(report.Chart1()->picture(), test::Hue::Blue), 50);
  EXPECT_FALSE(rig.program->progress().isVisible());
  EXPECT_EQ(rig.program->progress().lines().size(), 9);
  EXPECT_EQ(rig.waiter.seconds.size(), kPausesPerRun);
  EXPECT_TRUE(rig.boxes.shown.empty());
  EXPECT_EQ(rig.server.requests().size(), 1u);
  EXPECT_EQ(rig.runBrowser.urls.size(), 1u);
  EXPECT_EQ(rig.reportBrowser.urls, std::vector<std::string>{"http://maker.example"});
  EXPECT_EQ(rig.program->loadedWindows(), (Windows{"frm_front", "frm_compute", "frm_report"}));
  EXPECT_EQ(rig.program->buffer().text("lbl_period"), "7");

  QApplication::setActiveWindow(&report);
  ASSERT_TRUE(tabTo(report.Label7()));
  press(Qt::Key_Space);
  EXPECT_TRUE(front.isVisible());
  EXPECT_FALSE(report.isVisible());
  EXPECT_EQ(front.txt_postcode()->text(), "");
  EXPECT_EQ(front.txt_bedrooms()->currentText(), "2");
}

TEST(Program, ClosingTheProgressOrMainWindowInAnyPauseEndsTheProgramAtOnce) {
  for (std::size_t pause = 0; pause <= kPausesPerRun; ++pause) {
    test::ProgramRig rig;
    const bool front = pause == kPausesPerRun;  // the main window's close box, in pause 3
    rig.duringPause = [&](std::size_t index) {
      if (index == (front ? 3 : pause))
        front ? rig.program->front().close() : rig.program->progress().close();
    };
    rig.predict();  // returns: the run unwound quietly
    EXPECT_TRUE(rig.program->ended()) << pause;
    EXPECT_EQ(rig.endings, 1);
    EXPECT_EQ(rig.waiter.seconds.size(), (front ? 3 : pause) + 1);
    expectNoWindowShown();
    EXPECT_TRUE(rig.boxes.shown.empty());
    if (pause < 7) {
      EXPECT_EQ(rig.program->loadedWindows(), (Windows{"frm_front", "frm_compute"}));
    }
  }
}

TEST(Program, EvaluateAnotherPostCodeStartsAfreshEvenWhenClickedTwice) {
  for (const bool twice : {false, true}) {
    test::ProgramRig rig;
    rig.predict();
    frm_front& front = rig.program->front();
    const WorkFolder& work = rig.program->workFolder();
    ASSERT_TRUE(std::filesystem::exists(work.entityHtml()));
    // The reset's pause comes after the run's; a second click may land in it.
    rig.duringPause = [&](std::size_t index) {
      if (twice && index == kPausesPerRun)
        QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
    };
    QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
    EXPECT_EQ(rig.waiter.seconds.size(), kPausesPerRun + (twice ? 2 : 1));
    EXPECT_EQ(rig.waiter.seconds.back(), 1);
    EXPECT_EQ(front.txt_postcode()->text(), "");
    EXPECT_EQ(front.txt_valuation()->text(), "£000,000");
    EXPECT_EQ(front.txt_propertytype()->currentText(), "Detached");
    EXPECT_EQ(front.txt_purchasedago()->currentText(), "7");
    EXPECT_TRUE(rig.program->progress().lines().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(work.entityHtml()) ||
                 std::filesystem::exists(work.comprmDat()));
    EXPECT_TRUE(front.isVisible());
    EXPECT_FALSE(rig.program->report().isVisible());
    EXPECT_FALSE(rig.program->ended());
    EXPECT_EQ(rig.program->buffer().text("txt_num"), "");
    EXPECT_TRUE(rig.boxes.shown.empty());
    // The next run reads its own page once and lists its own lines only; the report stays loaded.
    rig.duringPause = nullptr;
    rig.predict();
    EXPECT_EQ(rig.program->progress().lines().size(), 9);
    EXPECT_EQ(test::readBytes(work.entityHtml()), test::kAcaciaPage + "\r\n");
    EXPECT_EQ(rig.program->report().label(ReportLabel::LBL_AVERAGEPROPERTYVALUE)->text(),
              "£250,000");
    EXPECT_EQ(rig.reportBrowser.urls.size(), 1u);
  }
}

TEST(Program, ExitOrAnyCloseBoxEndsTheProgramAndStopsAResetInItsPause) {
  const std::function<void(Program&)> closes[] = {
      [](Program& p) { QTest::mouseClick(p.report().Command1(), Qt::LeftButton); },
      [](Program& p) { p.report().close(); },
      [](Program& p) { p.front().close(); },
  };
  for (const auto& close : closes) {
    for (const bool inReset : {false, true}) {
      test::ProgramRig rig;
      rig.predict();
      if (inReset) {
        rig.duringPause = [&](std::size_t index) {
          if (index == kPausesPerRun) close(*rig.program);
        };
        QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
        // The reset stopped in its pause: what it would have emptied afterwards keeps its value.
        EXPECT_EQ(rig.program->front().txt_postcode()->text(), "AB1");
        EXPECT_EQ(rig.program->buffer().text("txt_num"), "250");
      } else {
        close(*rig.program);
      }
      EXPECT_TRUE(rig.program->ended());
      EXPECT_EQ(rig.endings, 1);
      EXPECT_TRUE(programEndRequested());
      expectNoWindowShown();
    }
  }
  test::ProgramRig beforeAnyRun;
  beforeAnyRun.program->front().close();
  EXPECT_EQ(beforeAnyRun.endings, 1);
  EXPECT_EQ(beforeAnyRun.program->loadedWindows(), Windows{"frm_front"});
}

}  // namespace
}  // namespace korvane
