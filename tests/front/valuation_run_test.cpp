#include "front/valuation_run.h"

#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "support/run_rig.h"
#include "util/basic.h"
#include "util/markup.h"
#include "util/program_end.h"
#include "util/run_buffer.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace korvane {
namespace {

using test::Journal;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

constexpr char kHost[] = "http://127.0.0.1:9";
constexpr char kAddressAB1[] =
    "http://127.0.0.1:9/index.php?con=sold_prices_street&cCode=EW&postcode=AB1";

std::string lines(std::initializer_list<std::string_view> parts, std::string_view end) {
  std::string text;
  for (std::string_view part : parts) {
    text += part;
    text += end;
  }
  return text;
}

// A sold-prices page: the heading, the street filter, one sale, the street's average, the notice.
std::string listingPage(std::string_view street, std::string_view average) {
  std::string page = lines(
      {
          "<html><head><title>Sold prices</title></head><body>",
          "<h1>Sold prices for post codes starting AB1</h1>",
          "<p>View: <a href=\"/s\">Show " + std::string(street) + " only</a></p>",
          "<table><tr><td>3 " + std::string(street) +
              "</td><td>\xA3"
              "180,000</td></tr></table>",
          "<p>" + std::string(street) + ", \xA3" + std::string(average) + " average</p>",
          "<p>Buying a home?</p>",
      },
      "\r\n");
  return page + "</body></html>";
}

// Every port of a run, recorded, with the pages the test scripts.
struct RunRig : test::RunPortsRig {
  test::ScriptedPages pages{journal};
  ValuationRun run{ports(pages), kHost};
};

const std::vector<std::string> kStatusLinesOf250 = {
    "Connecting to source...", "Sending request...", "Data for: Acacia Avenue",
    "Downloading data...",     "RD: Push Client",    "Market at: 12500",
    "AVG Market: 5%",          "Drawing data",       "Complete",
};

// --- One run of a normal page ---

constexpr const char* kDateTimePattern = "[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}";

TEST(ValuationRun, NormalPageRunsEveryStepInOrder) {
  RunRig rig;
  rig.pages.pages = {listingPage("Acacia Avenue", "250,000")};
  rig.run.DoProc();

  EXPECT_THAT(rig.journal,
              ElementsAre("progress shown on top", std::string("navigate ") + kAddressAB1,
                          "status first: Connecting to source...",
                          std::string("fetch ") + kAddressAB1, "wait 8",
                          "status: Sending request...", "wait 2", "status: Data for: Acacia Avenue",
                          "wait 2", "wait 2", "status: Downloading data...", "wait 2",
                          "status: RD: Push Client", "status: Market at: 12500", "wait 2",
                          "status: AVG Market: 5%", "wait 2", "status: Drawing data",
                          "LBL_AVERAGEPROPERTYVALUE = \xA3"
                          "250,000",
                          "LBL_ESTVALUE5YEARS = \xA3"
                          "312,000",
                          "LBL_DIFFERENCE = \xA3"
                          "237,000",
                          "status: Complete", "wait 2", "progress released and hidden",
                          "Label4 = Report for AB1", "report shown", "RefreshGraph"));
  EXPECT_THAT(rig.waiter.seconds, ElementsAre(8, 2, 2, 2, 2, 2, 2, 2));
  EXPECT_EQ(rig.progress.lines, kStatusLinesOf250);
  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_FALSE(rig.run.running());
  // The stripper writes the date and time on the main window before and after its work.
  EXPECT_THAT(rig.inputs.printed,
              ElementsAre(MatchesRegex(kDateTimePattern), MatchesRegex(kDateTimePattern)));
}

TEST(ValuationRun, NormalPageFillsEveryRunBufferFieldAndWorkFile) {
  RunRig rig;
  const std::string page = listingPage("Acacia Avenue", "250,000");
  rig.pages.pages = {page};
  rig.inputs.valuationText =
      "\xA3"
      "300,000";
  rig.inputs.purchasedAgoText = "7";
  rig.run.DoProc();

  // Each tag became one space; the save added one CR LF.
  const std::string stripped = lines(
      {
          "   Sold prices   ",
          " Sold prices for post codes starting AB1 ",
          " View:  Show Acacia Avenue only  ",
          "   3 Acacia Avenue  \xA3"
          "180,000   ",
          " Acacia Avenue, \xA3"
          "250,000 average ",
          " Buying a home? ",
          "  ",
      },
      "\r\n");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), page + "\r\n");
  EXPECT_EQ(test::readBytes(rig.work.comprmDat()), stripped);

  const std::map<std::string, std::string> expected = {
      {"txt_htmlsource", page},
      {"txt_nohtmlsource", stripped},
      {"txt_housetext",
       "AB1 \r\n View:  Show Acacia Avenue only  \r\n   3 Acacia Avenue  \xA3"
       "180,000   \r\n Acacia Avenue, \xA3"
       "250,000 average \r\n"},
      {"txt_housetext2", "Acacia Avenue"},
      {"txt_houseprices",
       "80,000   \r\n Acacia Avenue, \xA3"
       "250,000 average \r\n"},
      {"txt_avgclose",
       "\xA3"
       "250"},
      {"txt_num", "250"},
      {"txt_num1", "\xA3"},
      {"lbl_avghouseprice",
       "\xA3"
       "250,000"},
      {"GPH_Houseprice", "250"},
      {"lbl_streetname", "Acacia Avenue"},
      {"lbl_estdhouseprice",
       "\xA3"
       "300,000"},
      {"lbl_period", "7"},
      {"txt_estdval", "300000"},
      {"txt_dump", "\xA3,"},
      {"GPH_1year", "262"},
      {"gph_2year", "275"},
      {"gph_3year", "287"},
      {"Gph_4year", "300"},
      {"GPH_5year", "312"},
      {"txt_5years", "237"},
      {"gph_array", "250,262,275,287,300,312"},
      {"gph_marketarray", "264,281,290,301,312,312,315,313,314"},
      // Fields no step of the run writes.
      {"lbl_differencevalue", "\xA3"},
      {"Text4", "Text4"},
  };
  for (const auto& [field, value] : expected) EXPECT_EQ(rig.buffer.text(field), value) << field;

  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_AVERAGEPROPERTYVALUE],
            "\xA3"
            "250,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_ESTVALUE5YEARS],
            "\xA3"
            "312,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_DIFFERENCE],
            "\xA3"
            "237,000");
  EXPECT_TRUE(rig.report.visible);
  EXPECT_FALSE(rig.progress.visible);
}

// --- Runs that get nothing usable still end with the report ---

TEST(ValuationRun, UnreachableServiceListsNineLinesAndReportsZeroFigures) {
  RunRig rig;  // the page source answers "" as FetchUrlText does when nothing can be fetched
  rig.inputs.postcodeText = "ZZ9";
  rig.run.DoProc();

  EXPECT_THAT(rig.progress.lines,
              ElementsAre("Connecting to source...", "Sending request...",
                          "Data for: ", "Downloading data...", "RD: Push Client", "Market at: 0",
                          "AVG Market: 5%", "Drawing data", "Complete"));
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_AVERAGEPROPERTYVALUE], "\xA3,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_ESTVALUE5YEARS],
            "\xA3"
            "0,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_DIFFERENCE],
            "\xA3"
            "0,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "No sold prices found for ZZ9");
  EXPECT_EQ(rig.buffer.text("gph_array"), ",0,0,0,0,0");
  EXPECT_EQ(rig.buffer.text("gph_marketarray"), "2,6,3,1,0,0,3,1,2");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), "\r\n");
  EXPECT_TRUE(rig.report.visible);
  EXPECT_EQ(rig.report.refreshes, 1);
  EXPECT_TRUE(rig.boxes.shown().empty());
}

TEST(ValuationRun, MissingWorkFolderShowsTheFileBoxesAndStillShowsTheReport) {
  RunRig rig;
  std::filesystem::remove(rig.work.folder());
  const std::string page = listingPage("Acacia Avenue", "250,000");
  rig.pages.pages = {page};
  rig.run.DoProc();

  ASSERT_EQ(rig.boxes.shown().size(), 2u);
  EXPECT_THAT(rig.boxes.shown()[0].text, StartsWith("Error "));
  EXPECT_EQ(rig.boxes.shown()[0].title, "Error");
  EXPECT_EQ(rig.boxes.shown()[0].icon, MessageIcon::Critical);
  EXPECT_EQ(rig.boxes.shown()[1], (test::ShownBox{"File Not Found", "Error", MessageIcon::None}));

  // The download is kept, but nothing could be stripped: the cuts find nothing rather than the
  // design-time text of the field.
  EXPECT_EQ(rig.buffer.text("txt_htmlsource"), page);
  EXPECT_EQ(rig.buffer.text("txt_nohtmlsource"), "");
  EXPECT_EQ(rig.buffer.text("txt_num"), "");
  EXPECT_EQ(rig.progress.lines.size(), 9u);
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "No sold prices found for AB1");
  EXPECT_TRUE(rig.report.visible);
  EXPECT_EQ(rig.report.refreshes, 1);
  EXPECT_FALSE(std::filesystem::exists(rig.work.folder()));
  // The stripper stopped at its first file: only the line before the work was written.
  EXPECT_THAT(rig.inputs.printed, ElementsAre(MatchesRegex(kDateTimePattern)));
}

TEST(ValuationRun, FailingStepIsSkippedSilentlyAndTheRunCarriesOn) {
  // A page source that fails outright (rather than answering "").
  struct FailingPages final : PageSource {
    std::string fetch(const std::string&) override { throw Failure(FailureKind::Overflow); }
  } failing;
  RunRig rig;
  rig.buffer.setText("txt_htmlsource", "an earlier page");
  ValuationRun run{RunPorts{rig.inputs, rig.progress, rig.report, failing, rig.waiter, rig.work,
                            rig.browser, rig.boxes, rig.buffer},
                   kHost};
  run.DoProc();

  EXPECT_EQ(rig.buffer.text("txt_htmlsource"), "");
  EXPECT_EQ(rig.progress.lines.size(), 9u);
  EXPECT_EQ(rig.waiter.seconds.size(), 8u);
  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_EQ(rig.report.refreshes, 1);
}

// --- Runs one after another ---

TEST(ValuationRun, TwoRunsWithoutResetEachReportTheirOwnPage) {
  RunRig rig;
  const std::string second = listingPage("Birch Road", "180,000");
  rig.pages.pages = {listingPage("Acacia Avenue", "250,000"), second};
  rig.run.DoProc();
  rig.inputs.postcodeText = "CD3";
  rig.run.DoProc();

  EXPECT_EQ(rig.buffer.text("lbl_streetname"), "Birch Road");
  EXPECT_EQ(rig.buffer.text("txt_num"), "180");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_AVERAGEPROPERTYVALUE],
            "\xA3"
            "180,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_ESTVALUE5YEARS],
            "\xA3"
            "225,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_DIFFERENCE],
            "\xA3"
            "171,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for CD3");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), second + "\r\n");
  EXPECT_THAT(rig.pages.urls, ElementsAre(kAddressAB1, StartsWith(std::string(kHost) + "/")));
  EXPECT_EQ(rig.pages.urls[1].substr(rig.pages.urls[1].size() - 3), "CD3");

  // The second run's first line goes on top of the first run's lines, the rest below them.
  std::vector<std::string> expected = {"Connecting to source..."};
  expected.insert(expected.end(), kStatusLinesOf250.begin(), kStatusLinesOf250.end());
  expected.insert(expected.end(), {"Sending request...", "Data for: Birch Road",
                                   "Downloading data...", "RD: Push Client", "Market at: 9000",
                                   "AVG Market: 5%", "Drawing data", "Complete"});
  EXPECT_EQ(rig.progress.lines, expected);
}

// --- The request ---

TEST(ValuationRun, PostCodeIsSentAsOneEncodedQueryValueAndShownAsTyped) {
  RunRig rig;
  rig.inputs.postcodeText = "AB1 2&x=1";
  rig.pages.pages = {listingPage("Acacia Avenue", "250,000")};
  rig.run.DoProc();

  const std::string address =
      "http://127.0.0.1:9/index.php?con=sold_prices_street&cCode=EW&postcode=AB1%202%26x%3D1";
  EXPECT_THAT(rig.browser.urls, ElementsAre(address));
  EXPECT_THAT(rig.pages.urls, ElementsAre(address));
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for AB1 2&x=1");
}

TEST(ValuationRun, InputsAreReadAtTheStepThatNeedsThem) {
  RunRig rig;
  rig.pages.pages = {listingPage("Acacia Avenue", "250,000")};
  // The user edits the main window during the first pause, after the download.
  rig.waiter.duringWait = [&](std::size_t index) {
    if (index != 0) return;
    rig.inputs.postcodeText = "EF4";
    rig.inputs.valuationText =
        "\xA3"
        "123,000";
    rig.inputs.purchasedAgoText = "3";
  };
  rig.run.DoProc();

  EXPECT_THAT(rig.pages.urls, ElementsAre(kAddressAB1));
  EXPECT_EQ(rig.buffer.text("lbl_estdhouseprice"),
            "\xA3"
            "123,000");
  EXPECT_EQ(rig.buffer.text("txt_estdval"), "123000");
  EXPECT_EQ(rig.buffer.text("lbl_period"), "3");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for EF4");
}

// --- Re-entry and the end of the program ---

TEST(ValuationRun, SecondDoProcDuringAPauseDoesNothing) {
  RunRig rig;
  rig.pages.pages = {listingPage("Acacia Avenue", "250,000")};
  std::vector<bool> runningDuringWaits;
  rig.waiter.duringWait = [&](std::size_t index) {
    runningDuringWaits.push_back(rig.run.running());
    if (index == 0 || index == 4) rig.run.DoProc();
  };
  rig.run.DoProc();

  EXPECT_EQ(rig.pages.urls.size(), 1u);
  EXPECT_EQ(rig.browser.urls.size(), 1u);
  EXPECT_EQ(rig.progress.lines, kStatusLinesOf250);
  EXPECT_THAT(rig.waiter.seconds, ElementsAre(8, 2, 2, 2, 2, 2, 2, 2));
  EXPECT_THAT(runningDuringWaits, ElementsAreArray(std::vector<bool>(8, true)));
  EXPECT_FALSE(rig.run.running());
}

struct EndingCase {
  const char* behaviour;
  std::size_t endingWait;   // index of the wait during which the program ends
  std::size_t linesListed;  // status lines already listed by then
};

const EndingCase kEndingCases[] = {
    {"during the pause after the download", 0, 1},     {"during the pause after stripping", 1, 2},
    {"during the pause after Downloading data", 4, 4}, {"during the market series pause", 6, 7},
    {"during the last pause, after Complete", 7, 9},
};

TEST(ValuationRun, ProgramEndingDuringAPauseStopsTheRunAtOnce) {
  for (const EndingCase& c : kEndingCases) {
    SCOPED_TRACE(c.behaviour);
    RunRig rig;
    rig.pages.pages = {listingPage("Acacia Avenue", "250,000"),
                       listingPage("Acacia Avenue", "250,000")};
    rig.waiter.duringWait = [&](std::size_t index) {
      if (index == c.endingWait) throw ProgramEnding();
    };
    EXPECT_THROW(rig.run.DoProc(), ProgramEnding);

    EXPECT_EQ(rig.progress.lines.size(), c.linesListed);
    EXPECT_EQ(rig.waiter.seconds.size(), c.endingWait + 1);
    EXPECT_FALSE(rig.report.visible);
    EXPECT_EQ(rig.report.refreshes, 0);
    EXPECT_TRUE(rig.progress.visible);
    // The run is over, so the flag that refuses re-entry is down again.
    EXPECT_FALSE(rig.run.running());
  }
}

}  // namespace
}  // namespace korvane
