// Saves pictures of the windows after a run into the build folder, for a person to look at, and
// checks that every caption shows whole and every picture can be read.

#include "program_rig.h"

#include "platform/svg_picture.h"
#include "report/progress_window.h"
#include "report/report_window.h"

#include <QDir>
#include <QLabel>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// The labels of window whose text does not fit their box, or whose box reaches past the window.
std::vector<std::string> clippedCaptions(const QWidget& window) {
  std::vector<std::string> clipped;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    const QSize needed =
        label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
    const QRect box = label->geometry();
    if (needed.width() > box.width() || needed.height() > box.height() ||
        box.right() >= window.width() || box.bottom() >= window.height())
      clipped.push_back(label->objectName().toStdString());
  }
  return clipped;
}

TEST(Screenshots, OfTheMainReportAndProgressWindowsAfterARun) {
  const QString folder = QStringLiteral(KORVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  test::ProgramRig rig;
  frm_front& front = rig.program->front();
  QTest::keyClicks(front.txt_postcode(), "AB1");
  front.txt_propertytype()->setCurrentIndex(0);
  front.txt_bedrooms()->setCurrentIndex(2);
  EXPECT_TRUE(front.grab().save(folder + "/main_window.png"));
  QTest::mouseClick(front.Image3(), Qt::LeftButton);
  frm_compute& progress = rig.program->progress();
  progress.show();
  EXPECT_TRUE(progress.grab().save(folder + "/progress_window.png"));
  frm_report& report = rig.program->report();
  EXPECT_TRUE(report.grab().save(folder + "/report_window.png"));

  // The longest heading and figures a run writes still show whole.
  report.setCaption(ReportLabel::Label4, "No sold prices found for SW1A 1AA");
  report.setCaption(ReportLabel::LBL_ESTVALUE5YEARS, test::cp("£32767,000"));
  report.setCaption(ReportLabel::LBL_DIFFERENCE, test::cp("£-1234,000"));
  for (const QWidget* window : std::initializer_list<const QWidget*>{&front, &progress, &report}) {
    EXPECT_EQ(clippedCaptions(*window), std::vector<std::string>{})
        << window->objectName().toStdString();
    for (const SvgPicture* picture : window->findChildren<SvgPicture*>())
      EXPECT_TRUE(picture->isValid()) << picture->objectName().toStdString();
  }
}

}  // namespace
}  // namespace korvane
