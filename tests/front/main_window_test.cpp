// The main window: its input checks before a run, its start-up clean-up and its link.

#include "front/main_window.h"

#include "front/valuation_run.h"
#include "platform/link_label.h"
#include "platform/svg_picture.h"
#include "platform/twips.h"
#include "support/caption_fit.h"
#include "support/files.h"
#include "support/recording_link_opener.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <QAbstractItemView>
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

TEST(MainWindowPredict, EveryPropertyTypePickedFromTheListPassesTheCheck) {
  for (const char* type : {"Detached", "Semi-Detached", "Terraced", "Flat"}) {
    FrontRig rig;
    rig.front.show();
    QTest::keyClicks(rig.front.txt_postcode(), "AB1");
    QComboBox* list = rig.front.txt_propertytype();
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QModelIndex entry = view->model()->index(list->findText(type), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    EXPECT_EQ(list->currentText(), QString(type));
    QTest::mouseClick(rig.front.Image3(), Qt::LeftButton);
    EXPECT_TRUE(rig.boxes.shown().empty()) << type;
    EXPECT_EQ(rig.pages.urls.size(), 1u) << type;
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

TEST(MainWindow, CaptionsStandWhereDesignedWithTheirExactWording) {
  FrontRig rig;
  const struct {
    const char* name;
    const char* text;  // UTF-8
    int left;
    int top;
  } cases[] = {
      {"Label4", "Enter your Property Details", 2040, 960},
      {"Label1", "Enter your Post Code:", 840, 1680},
      {"Label10", "Enter with no spaces", 4200, 1680},
      {"Label2", "How many bedrooms:", 840, 2040},
      {"Label3", "Property type:", 1440, 2400},
      {"Label5", "Valuation", 2040, 3240},
      {"Label6", "How much do you value your property at:", 720, 3840},
      {"Label7", "How many years ago did you buy your home:", 720, 4440},
      {"Label9", "Visit us at  http://maker.example", 120, 5520},
      {"Label8", "Sponsered Listings", 120, 5760},
      {"Label11", "Feature your Business\\Product Here", 1920, 6240},
      {"Label12",
       "Exposure to hundreds of visitors a day who are interested in their finances, advertising "
       "with us is FREE. To advertise email - ads@maker.example",
       1920, 6600},
  };
  for (const auto& c : cases) {
    const auto* label = rig.front.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
    EXPECT_EQ(label->pos(), pxPoint(c.left, c.top)) << c.name;
  }
}

TEST(MainWindow, EveryCaptionShowsWhole) {
  FrontRig rig;
  rig.front.show();
  EXPECT_EQ(test::clippedCaptions(rig.front), std::vector<std::string>{});
}

TEST(MainWindow, PicturesInputsAndRulesFillTheirDesignedBoxes) {
  FrontRig rig;
  const struct {
    const char* name;
    QRect box;
  } cases[] = {
      {"Image1", pxRect(0, 0, 6000, 6000)},
      {"Image2", pxRect(120, 840, 480, 480)},
      {"Image3", pxRect(4200, 5040, 1500, 750)},
      {"Image4", pxRect(120, 6240, 1560, 1170)},
      {"Shape1", pxRect(0, 6000, 6000, 1575)},
      {"txt_postcode", pxRect(2880, 1680, 1215, 285)},
      {"txt_bedrooms", pxRect(2880, 2040, 1815, 315)},
      {"txt_propertytype", pxRect(2880, 2400, 1815, 315)},
      {"txt_valuation", pxRect(2880, 3840, 1815, 285)},
      {"txt_purchasedago", pxRect(2880, 4440, 1815, 315)},
  };
  for (const auto& c : cases) {
    const auto* widget = rig.front.findChild<QWidget*>(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->geometry(), c.box) << c.name;
  }
  // The rules above and below the two headings run from 2040 to 5880 twips.
  const struct {
    const char* name;
    int top;
  } rules[] = {{"Line1", 840}, {"Line2", 1200}, {"Line3", 3120}, {"Line4", 3480}};
  for (const auto& rule : rules) {
    const auto* line = rig.front.findChild<QWidget*>(rule.name);
    ASSERT_NE(line, nullptr) << rule.name;
    EXPECT_EQ(line->x(), px(2040)) << rule.name;
    EXPECT_EQ(line->geometry().right() + 1, px(5880)) << rule.name;
    EXPECT_EQ(line->y(), px(rule.top)) << rule.name;
  }
}

TEST(MainWindow, RulesAreWhiteLinesOverTheBackgroundPicture) {
  FrontRig rig;
  const QImage window = rig.front.grab().toImage();
  for (const char* name : {"Line1", "Line2", "Line3", "Line4"}) {
    const QRect line = rig.front.findChild<QWidget*>(name)->geometry();
    for (const QPoint at : {line.topLeft(), line.center(), line.topRight()})
      EXPECT_EQ(window.pixelColor(at), QColor(Qt::white)) << name;
    // The picture shows just above and below.
    EXPECT_NE(window.pixelColor(line.center() - QPoint(0, 1)), QColor(Qt::white)) << name;
  }
}

TEST(MainWindow, IsFixedSizeWithAMinimiseButtonOnly) {
  FrontRig rig;
  const QSize size = pxSize(6000, 7575);
  EXPECT_EQ(rig.front.minimumSize(), size);
  EXPECT_EQ(rig.front.maximumSize(), size);
  EXPECT_TRUE(rig.front.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(rig.front.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
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
