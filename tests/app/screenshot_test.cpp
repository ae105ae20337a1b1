// Saves pictures of the windows after a run into the build folder, for a person to look at.

#include "app/program_rig.h"
#include "front/main_window.h"
#include "platform/svg_picture.h"
#include "platform/twips.h"
#include "report/progress_window.h"
#include "report/report_window.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(Screenshots, MainReportAndProgressWindowsAfterARun) {
  const QString folder = QStringLiteral(KORVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));

  test::ProgramRig rig;
  rig.program->start();
  frm_front& front = rig.program->front();
  QTest::keyClicks(front.txt_postcode(), "AB1");
  front.txt_propertytype()->setCurrentIndex(0);
  front.txt_bedrooms()->setCurrentIndex(2);
  const QPixmap frontPicture = front.grab();
  QTest::mouseClick(front.Image3(), Qt::LeftButton);

  frm_compute& progress = rig.program->progress();
  progress.show();
  const QPixmap progressPicture = progress.grab();
  progress.hide();
  const QPixmap reportPicture = rig.program->report().grab();

  const struct {
    const char* file;
    QPixmap picture;
    QSize twips;
  } shots[] = {
      {"main_window.png", frontPicture, QSize(6000, 7575)},
      {"report_window.png", reportPicture, QSize(6825, 8310)},
      {"progress_window.png", progressPicture, QSize(3975, 3015)},
  };
  for (const auto& shot : shots) {
    EXPECT_EQ(shot.picture.deviceIndependentSize().toSize(),
              pxSize(shot.twips.width(), shot.twips.height()))
        << shot.file;
    EXPECT_TRUE(shot.picture.save(folder + "/" + shot.file)) << shot.file;
  }
}

TEST(Screenshots, EveryPictureOfTheWindowsCanBeRead) {
  test::ProgramRig rig;
  rig.program->start();
  rig.program->report();
  for (QWidget* window : {static_cast<QWidget*>(&rig.program->front()),
                          static_cast<QWidget*>(&rig.program->report())}) {
    const QList<SvgPicture*> pictures = window->findChildren<SvgPicture*>();
    EXPECT_GE(pictures.size(), 4) << window->objectName().toStdString();
    for (const SvgPicture* picture : pictures) {
      EXPECT_TRUE(picture->isValid()) << picture->objectName().toStdString();
    }
  }
}

}  // namespace
}  // namespace korvane
