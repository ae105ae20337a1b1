// The user interrupting the program at awkward moments: closing the progress window in each pause
// of a run, closing a window during the reset's pause, and clicking "Evaluate another post code"
// again before the first click has finished.

#include "app/program_rig.h"
#include "front/main_window.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "report/progress_window.h"
#include "report/report_window.h"
#include "util/run_buffer.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <gtest/gtest.h>

namespace korvane {
namespace {

constexpr std::size_t kPausesPerRun = 8;

void predictForAB1(frm_front& front) {
  QTest::keyClicks(front.txt_postcode(), "AB1");
  front.txt_propertytype()->lineEdit()->clear();
  QTest::keyClicks(front.txt_propertytype(), "Detached");
  QTest::mouseClick(front.Image3(), Qt::LeftButton);
}

TEST(ProgramInterrupted, ClosingTheProgressWindowInAnyPauseEndsTheProgramAtOnce) {
  for (std::size_t pause = 0; pause < kPausesPerRun; ++pause) {
    SCOPED_TRACE("closed in pause " + std::to_string(pause));
    test::ProgramRig rig;
    rig.program->start();
    rig.endWaitsWhenTheProgramEnds();
    rig.duringPause = [&](std::size_t index) {
      if (index == pause) rig.program->progress().close();
    };
    predictForAB1(rig.program->front());

    EXPECT_TRUE(rig.program->ended());
    EXPECT_EQ(rig.endings, 1);
    // No pause after the one in which the window closed, and no window left showing.
    EXPECT_EQ(rig.waiter.seconds.size(), pause + 1);
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
    EXPECT_TRUE(rig.boxes.shown().empty());
  }
}

TEST(ProgramInterrupted, EndingTheProgramDuringTheResetsPauseDropsTheRestOfTheReset) {
  const struct {
    const char* behaviour;
    std::function<void(Program&)> close;
  } cases[] = {
      {"Exit on the report",
       [](Program& p) { QTest::mouseClick(p.report().Command1(), Qt::LeftButton); }},
      {"close box of the report", [](Program& p) { p.report().close(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.behaviour);
    test::ProgramRig rig;
    rig.program->start();
    predictForAB1(rig.program->front());
    rig.endWaitsWhenTheProgramEnds();
    rig.duringPause = [&](std::size_t index) {
      if (index == kPausesPerRun) c.close(*rig.program);
    };
    QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);

    EXPECT_TRUE(rig.program->ended());
    EXPECT_EQ(rig.endings, 1);
    // The reset stopped in its pause: the main window is not shown again after the end, and the
    // fields it would have emptied afterwards keep their values.
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
    EXPECT_EQ(rig.program->front().txt_postcode()->text(), QString("AB1"));
    EXPECT_EQ(rig.program->buffer().text("txt_num"), "250");
  }
}

TEST(ProgramInterrupted, SecondResetClickDuringTheFirstResetsOnceAndLeavesTheProgramUsable) {
  test::ProgramRig rig;
  rig.program->start();
  predictForAB1(rig.program->front());
  ASSERT_TRUE(rig.program->report().isVisible());
  const WorkFolder& work = rig.program->workFolder();

  // The reset's pause is the first one after the run's; the second click lands in it.
  int clicksInPause = 0;
  rig.waiter.duringWait = [&](std::size_t index) {
    if (index == kPausesPerRun && clicksInPause++ == 0) {
      QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
    }
  };
  QTest::mouseClick(rig.program->report().Label7(), Qt::LeftButton);
  ASSERT_EQ(clicksInPause, 1);

  frm_front& front = rig.program->front();
  EXPECT_TRUE(front.isVisible());
  EXPECT_FALSE(rig.program->report().isVisible());
  EXPECT_FALSE(rig.program->ended());
  EXPECT_EQ(front.txt_postcode()->text(), QString());
  EXPECT_TRUE(rig.program->progress().lines().isEmpty());
  EXPECT_EQ(rig.program->buffer().text("txt_num"), "");
  EXPECT_EQ(rig.program->buffer().text("txt_housetext2"), "");
  EXPECT_FALSE(std::filesystem::exists(work.entityHtml()));
  EXPECT_FALSE(std::filesystem::exists(work.comprmDat()));
  EXPECT_TRUE(rig.boxes.shown().empty());

  // The next run starts from a clean slate: its own page once, its own lines only.
  rig.waiter.duringWait = nullptr;
  predictForAB1(front);
  EXPECT_TRUE(rig.program->report().isVisible());
  EXPECT_EQ(rig.program->progress().lines().size(), 9);
  EXPECT_EQ(test::readBytes(work.entityHtml()), test::kAcaciaPage + "\r\n");
  EXPECT_EQ(rig.program->buffer().text("txt_num"), "250");
}

}  // namespace
}  // namespace korvane
