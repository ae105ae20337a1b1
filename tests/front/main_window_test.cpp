// The main window: its checks before a run, its start-up clean-up, its link and its surface.

#include "front/main_window.h"

#include "front/valuation_run.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "support/files.h"
#include "support/recording_link_opener.h"
#include "support/run_fakes.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// A main window whose Predict runs over recorded ports: a started run shows as a fetched page.
struct FrontRig : test::RunRig {
  test::RecordingLinkOpener links;
  test::ScriptedPages pages;
  int unloads = 0;
  frm_front front{"http://maker.example", "ads@maker.example", work, boxes, links,
                  [this] { ++unloads; }};
  ValuationRun run{RunPorts{front, progress, report, pages, waiter, work, browser, boxes, buffer},
                   "http://127.0.0.1:9"};
  FrontRig() {
    front.setValuationRun(&run);
    front.show();
  }
};

TEST(MainWindow, PredictChecksThePostCodeThenThePropertyType) {
  const struct {
    const char *postcode, *type, *message;  // message nullptr: the run starts
  } cases[] = {{"", "Select", "Please enter a post code"},
               {"", "Flat", "Please enter a post code"},
               {"AB1", "Select", "Select a property type"},
               {"AB1", "select", nullptr},
               {"AB1", "", nullptr},
               {"   ", "Bungalow", nullptr}};
  for (const auto& c : cases) {
    FrontRig rig;
    QTest::keyClicks(rig.front.txt_postcode(), c.postcode);
    rig.front.txt_propertytype()->setEditText(c.type);
    QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);
    const auto expected =
        c.message != nullptr
            ? std::vector<test::ShownBox>{{c.message, "Korvane", MessageIcon::Information}}
            : std::vector<test::ShownBox>{};
    EXPECT_EQ(rig.boxes.shown, expected) << c.postcode << "/" << c.type;
    EXPECT_EQ(rig.pages.urls.size(), c.message != nullptr ? 0u : 1u);
  }
}

TEST(MainWindow, NamesEachFieldAfterItsCaptionAndTakesEnterInAnyFieldForPredict) {
  FrontRig rig;
  frm_front& front = rig.front;
  // The fields that take the focus: the lists' text fields, as a screen reader meets them.
  const std::pair<QWidget*, const char*> fields[] = {
      {front.txt_postcode(), "Enter your Post Code"},
      {front.txt_bedrooms()->lineEdit(), "How many bedrooms"},
      {front.txt_propertytype()->lineEdit(), "Property type"},
      {front.txt_valuation(), "How much do you value your property at"},
      {front.txt_purchasedago()->lineEdit(), "How many years ago did you buy your home"}};
  for (const auto& [field, name] : fields) {
    EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), name);
    QTest::keyClick(field, Qt::Key_Return);
  }
  EXPECT_EQ(rig.boxes.shown.size(), 5u);  // each time the post code is missing
  QTest::keyClicks(front.txt_postcode(), "AB1");
  front.txt_propertytype()->setEditText("Flat");
  QTest::keyClick(front.txt_purchasedago()->lineEdit(), Qt::Key_Enter);
  EXPECT_EQ(rig.pages.urls.size(), 1u);
}

TEST(MainWindow, LoadsOnTopDeletesOldWorkFilesAndPredictReleasesTheTopPlacement) {
  FrontRig rig;
  test::writeBytes(rig.work.entityHtml(), "<p>old</p>");
  test::writeBytes(rig.work.comprmDat(), " old ");
  rig.front.Form_Load();
  EXPECT_FALSE(std::filesystem::exists(rig.work.entityHtml()));
  EXPECT_FALSE(std::filesystem::exists(rig.work.comprmDat()));
  EXPECT_TRUE(rig.front.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);  // stops at the post code check
  EXPECT_FALSE(rig.front.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(rig.front.isVisible());
  // Without a work folder the load shows nothing.
  std::filesystem::remove(rig.work.folder());
  rig.boxes.shown.clear();
  rig.front.Form_Load();
  EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(MainWindow, TheVisitLinkOpensTheMakersSiteEachTimeAndClosingUnloads) {
  FrontRig rig;
  QTest::mouseClick(rig.front.Label9(), Qt::LeftButton);
  QTest::mouseClick(rig.front.Label9(), Qt::RightButton);
  QTest::mouseClick(rig.front.Label9(), Qt::LeftButton);
  EXPECT_EQ(rig.links.opened,
            (std::vector<std::string>{"http://maker.example", "http://maker.example"}));
  rig.front.close();
  EXPECT_EQ(rig.unloads, 1);
}

TEST(MainWindow, PrintsLinesAtTheTopLeftAndDrawsItsRulesOverThePicture) {
  FrontRig rig;
  rig.front.printLine("06/12/2026 21:10:05");
  rig.front.printLine("06/12/2026 21:10:06");
  const auto* printed = rig.front.findChild<QLabel*>("printed");
  ASSERT_NE(printed, nullptr);
  EXPECT_EQ(printed->text(), "06/12/2026 21:10:05\n06/12/2026 21:10:06");
  EXPECT_EQ(printed->pos(), QPoint(0, 0));
  // Each rule is a white line with the background picture just above it.
  const QImage window = rig.front.grab().toImage();
  for (const char* name : {"Line1", "Line2", "Line3", "Line4"}) {
    const QRect line = rig.front.findChild<QWidget*>(name)->geometry();
    EXPECT_EQ(window.pixelColor(line.center()), QColor(Qt::white)) << name;
    EXPECT_EQ(window.pixelColor(line.topRight()), QColor(Qt::white)) << name;
    EXPECT_NE(window.pixelColor(line.center() - QPoint(0, 1)), QColor(Qt::white)) << name;
  }
}

}  // namespace
}  // namespace korvane
