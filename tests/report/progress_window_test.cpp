// The progress window: where status lines go, hiding, and unloading that ends the program.

#include "report/progress_window.h"

#include "platform/twips.h"
#include "support/caption_fit.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(ProgressWindow, FirstLineOfARunGoesAboveTheEarlierRunsLines) {
  int unloads = 0;
  frm_compute progress([&] { ++unloads; });
  progress.insertAtTop("Connecting to source...");
  progress.append("Sending request...");
  progress.append("Complete");
  progress.insertAtTop("Connecting to source...");
  progress.append("Sending request...");
  EXPECT_EQ(progress.lines(),
            (QStringList{"Connecting to source...", "Connecting to source...", "Sending request...",
                         "Complete", "Sending request..."}));
  progress.clearList();
  EXPECT_TRUE(progress.lines().isEmpty());
  EXPECT_EQ(unloads, 0);
}

TEST(ProgressWindow, HidingKeepsTheLinesAndReleasesTheTopPlacement) {
  frm_compute progress([] {});
  progress.showOnTop();
  EXPECT_TRUE(progress.isVisible());
  EXPECT_TRUE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  progress.append("Data for: Acacia Avenue");
  progress.releaseFromTopAndHide();
  EXPECT_FALSE(progress.isVisible());
  EXPECT_FALSE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(progress.lines(), QStringList{"Data for: Acacia Avenue"});
}

TEST(ProgressWindow, ClosingItUnloadsIt) {
  int unloads = 0;
  frm_compute progress([&] { ++unloads; });
  progress.show();
  progress.close();
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(progress.windowTitle(), QString("Please Wait......"));
  EXPECT_EQ(progress.size(), pxSize(3975, 3015));
}

TEST(ProgressWindow, RequestToWaitAndListStandWhereDesigned) {
  frm_compute progress([] {});
  progress.show();
  const struct {
    const char* name;
    QRect box;
  } cases[] = {
      {"Label1", pxRect(120, 120, 3375, 495)},
      {"List1", pxRect(120, 720, 3735, 2175)},
  };
  for (const auto& c : cases) {
    const auto* widget = progress.findChild<QWidget*>(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->geometry(), c.box) << c.name;
  }
  EXPECT_EQ(progress.findChild<QLabel*>("Label1")->text(),
            QString("Please wait while Korvane calculates."));
  EXPECT_EQ(test::clippedCaptions(progress), std::vector<std::string>{});
}

TEST(ProgressWindow, StreetNamesInUtf8ShowAsTyped) {
  frm_compute progress([] {});
  progress.append("Data for: Heol Y Fr\xC3\xA2n");
  progress.append("Data for: Caf\xE9 Row");
  EXPECT_EQ(progress.lines(), (QStringList{QString::fromUtf8("Data for: Heol Y Frân"),
                                           QString::fromUtf8("Data for: Café Row")}));
}

}  // namespace
}  // namespace korvane
