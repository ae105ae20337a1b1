// The main window: its input checks before a run, its start-up clean-up and its link.

#include "front/main_window.h"

#include "front/valuation_run.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "platform/twips.h"
#include "support/files.h"
#include "support/recording_link_opener.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <gtest/gtest.h>

namespace korvane {
namespace {

constexpr char kSite[] = "http://maker.example";

// A main window wired to a run over fakes: Predict's effect is visible as fetched pages.
struct FrontRig {
  test::TempDir programFolder;
  WorkFolder work{programFolder.path()};
  test::RecordingMessageBoxes boxes;
  test::RecordingLinkOpener links;
  test::Journal journal;
  test::RecordingProgress progress{journal};
  test::RecordingReport report{journal};
  test::ScriptedPages pages{journal};
  test::RecordingWaiter waiter{journal};
  test::RecordingBrowser browser{journal};
  RunBuffer buffer;
  int unloads = 0;
  frm_front front{kSite, "ads@maker.example", work, boxes, links, [this] { ++unloads; }};
  ValuationRun run{RunPorts{front, progress, report, pages, waiter, work, browser, boxes, buffer},
                   "http://127.0.0.1:9"};

  explicit FrontRig(bool withWorkFolder = true) {
    if (withWorkFolder) std::filesystem::create_directory(work.folder());
    front.setValuationRun(&run);
  }
};

struct CheckCase {
  const char* behaviour;
  const char* postcode;
  const char* propertyType;
  const char* message;  // nullptr: the run starts
};

TEST(MainWindowPredict, ChecksThePostCodeThenThePropertyType) {
  const CheckCase cases[] = {
      {"nothing entered names the post code only", "", "Select", "Please enter a post code"},
      {"empty post code with a type", "", "Flat", "Please enter a post code"},
      {"type still at Select", "AB1", "Select", "Select a property type"},
      {"type compared case included", "AB1", "select", nullptr},
      {"an empty type passes", "AB1", "", nullptr},
      {"a typed type passes", "AB1", "Bungalow", nullptr},
      {"a post code of blanks is not empty", "   ", "Detached", nullptr},
  };
  for (const CheckCase& c : cases) {
    FrontRig rig;
    rig.front.show();
    QTest::keyClicks(rig.front.txt_postcode(), c.postcode);
    rig.front.txt_propertytype()->setEditText(c.propertyType);
    QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);
    if (c.message != nullptr) {
      EXPECT_EQ(rig.boxes.shown(),
                (std::vector<test::ShownBox>{{c.message, "Korvane", MessageIcon::Information}}))
          << c.behaviour;
      EXPECT_TRUE(rig.pages.urls.empty()) << c.behaviour;
    } else {
      EXPECT_TRUE(rig.boxes.shown().empty()) << c.behaviour;
      ASSERT_EQ(rig.pages.urls.size(), 1u) << c.behaviour;
    }
  }
}

TEST(MainWindowPredict, ReleasesTheTopPlacementForGood) {
  FrontRig rig;
  rig.front.Form_Load();
  EXPECT_TRUE(rig.front.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);  // stops at the post code check
  EXPECT_FALSE(rig.front.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(rig.front.isVisible());
}

TEST(MainWindowPredict, RunsWithTheInputsAsTyped) {
  FrontRig rig;
  rig.front.show();
  QTest::keyClicks(rig.front.txt_postcode(), "ab1 2cd");
  rig.front.txt_propertytype()->setCurrentIndex(rig.front.txt_propertytype()->findText("Flat"));
  rig.front.txt_valuation()->setText(QString::fromUtf8("£185,500"));
  rig.front.txt_purchasedago()->setCurrentIndex(6);
  QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);
  EXPECT_EQ(rig.buffer.text("lbl_estdhouseprice"),
            "\xA3"
            "185,500");
  EXPECT_EQ(rig.buffer.text("lbl_period"), "7");
  ASSERT_EQ(rig.pages.urls.size(), 1u);
  EXPECT_NE(rig.pages.urls[0].find("postcode=ab1%202cd"), std::string::npos) << rig.pages.urls[0];
}

TEST(MainWindow, StartsWithTheDesignedInputs) {
  FrontRig rig;
  frm_front& front = rig.front;
  EXPECT_EQ(front.windowTitle(), QString("Korvane - http://maker.example"));
  EXPECT_EQ(front.size(), pxSize(6000, 7575));
  EXPECT_EQ(front.txt_postcode()->text(), QString());
  EXPECT_EQ(front.txt_valuation()->text(), QString::fromUtf8("£000,000"));
  const struct {
    QComboBox* box;
    QString text;
    QStringList entries;
  } lists[] = {
      {front.txt_bedrooms(), "1", {"1", "2", "3", "4", "5"}},
      {front.txt_propertytype(), "Select", {"Detached", "Semi-Detached", "Terraced", "Flat"}},
  };
  for (const auto& list : lists) {
    QStringList entries;
    for (int i = 0; i < list.box->count(); ++i) entries << list.box->itemText(i);
    EXPECT_EQ(entries, list.entries);
    EXPECT_EQ(list.box->currentText(), list.text);
    EXPECT_TRUE(list.box->isEditable());
  }
  QComboBox* years = front.txt_purchasedago();
  ASSERT_EQ(years->count(), 25);
  EXPECT_EQ(years->itemText(0), QString("1"));
  EXPECT_EQ(years->itemText(24), QString("25"));
  EXPECT_EQ(years->currentText(), QString("1"));

  // Tab goes through the five inputs in their order.
  const QWidget* inputs[] = {front.txt_postcode(), front.txt_bedrooms(), front.txt_propertytype(),
                             front.txt_valuation(), front.txt_purchasedago()};
  std::vector<const QWidget*> reached;
  const QWidget* current = front.txt_postcode();
  for (int step = 0; step < 100 && reached.size() < 5;
       ++step, current = current->nextInFocusChain()) {
    for (const QWidget* input : inputs) {
      if (current == input && (reached.empty() || reached.back() != input))
        reached.push_back(input);
    }
  }
  EXPECT_EQ(reached, std::vector<const QWidget*>(std::begin(inputs), std::end(inputs)));
}

TEST(MainWindow, LoadDeletesTheWorkFilesOfAnEarlierRunSilently) {
  FrontRig rig;
  test::writeBytes(rig.work.entityHtml(), "<p>old</p>");
  test::writeBytes(rig.work.comprmDat(), " old ");
  rig.front.Form_Load();
  EXPECT_FALSE(std::filesystem::exists(rig.work.entityHtml()));
  EXPECT_FALSE(std::filesystem::exists(rig.work.comprmDat()));
  EXPECT_TRUE(rig.boxes.shown().empty());

  FrontRig noFolder(false);
  noFolder.front.Form_Load();
  EXPECT_TRUE(noFolder.boxes.shown().empty());
  EXPECT_TRUE(noFolder.front.isVisible());
}

TEST(MainWindow, VisitLinkOpensTheMakersSiteEachTime) {
  FrontRig rig;
  rig.front.show();
  EXPECT_EQ(rig.front.Label9()->text(), QString("Visit us at  http://maker.example"));
  QTest::mouseClick(rig.front.Label9(), Qt::LeftButton);
  QTest::mouseClick(rig.front.Label9(), Qt::LeftButton);
  EXPECT_EQ(rig.links.opened, (std::vector<std::string>{kSite, kSite}));
}

TEST(MainWindow, PrintedLinesStandOneBelowTheOtherAtTheTopLeft) {
  FrontRig rig;
  rig.front.show();
  rig.front.printLine("06/12/2026 21:10:05");
  rig.front.printLine("06/12/2026 21:10:06");
  auto* printed = rig.front.findChild<QLabel*>("printed");
  ASSERT_NE(printed, nullptr);
  EXPECT_EQ(printed->text(), QString("06/12/2026 21:10:05\n06/12/2026 21:10:06"));
  EXPECT_EQ(printed->pos(), QPoint(0, 0));
  EXPECT_TRUE(printed->isVisible());
}

TEST(MainWindow, ClosingItUnloadsTheProgramsWindows) {
  FrontRig rig;
  rig.front.show();
  rig.front.close();
  EXPECT_EQ(rig.unloads, 1);
}

}  // namespace
}  // namespace korvane
