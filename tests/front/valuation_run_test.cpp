// One valuation run over recorded ports: what the user sees in the progress list, the pauses, the
// report, and what the run leaves in the work files and the run buffer.

#include "front/valuation_run.h"

#include "front/request_address.h"
#include "support/files.h"
#include "support/run_fakes.h"
#include "util/basic.h"

#include <gtest/gtest.h>
#include <regex>

namespace korvane {
namespace {

using test::cp;
using Lines = std::vector<std::string>;

constexpr char kHost[] = "http://127.0.0.1:9";

struct RunRig : test::RunRig {
  test::ScriptedPages pages;
  ValuationRun run{ports(pages), kHost};
};

const Lines kAcaciaLines = {
    "Connecting to source...", "Sending request...", "Data for: Acacia Avenue",
    "Downloading data...",     "RD: Push Client",    "Market at: 12500",
    "AVG Market: 5%",          "Drawing data",       "Complete"};
const std::vector<double> kPauses = {8, 2, 2, 2, 2, 2, 2, 2};

TEST(RequestAddress, CarriesThePostCodeAsOneQueryValue) {
  const struct {
    std::string_view typed, encoded;
  } cases[] = {{"AB12cd-._~", "AB12cd-._~"},
               {" ab1\r\n", "%20ab1%0D%0A"},
               {"AB1&x=1", "AB1%26x%3D1"},
               {"#+/?%", "%23%2B%2F%3F%25"},
               {std::string_view("\0\xA3\x31", 3), "%00%A31"}};
  for (const auto& c : cases) EXPECT_EQ(encodeQueryValue(c.typed), c.encoded) << c.typed;
  EXPECT_EQ(soldPricesAddress("http://h:1", "A B"),
            "http://h:1/index.php?con=sold_prices_street&cCode=EW&postcode=A%20B");
}

TEST(ValuationRun, ListsItsStepsPausesAndShowsTheReportOfThePage) {
  RunRig rig;
  rig.inputs.postcodeText = "AB1 2&x=1";
  rig.inputs.valuationText = cp("£300,000");
  rig.inputs.purchasedAgoText = "7";
  const std::string& page = test::kAcaciaPage;
  rig.pages.pages = {page};
  rig.run.DoProc();

  const std::string address = soldPricesAddress(kHost, "AB1 2&x=1");
  EXPECT_EQ(rig.browser.urls, Lines{address});
  EXPECT_EQ(rig.pages.urls, Lines{address});
  EXPECT_EQ(rig.progress.lines, kAcaciaLines);
  EXPECT_EQ(rig.waiter.seconds, kPauses);
  EXPECT_FALSE(rig.progress.visible);
  EXPECT_EQ(rig.report.captions, (std::map<ReportLabel, std::string>{
                                     {ReportLabel::LBL_AVERAGEPROPERTYVALUE, cp("£250,000")},
                                     {ReportLabel::LBL_ESTVALUE5YEARS, cp("£312,000")},
                                     {ReportLabel::LBL_DIFFERENCE, cp("£237,000")},
                                     {ReportLabel::Label4, "Report for AB1 2&x=1"}}));
  EXPECT_TRUE(rig.report.visible);
  EXPECT_EQ(rig.report.refreshes, 1);
  EXPECT_TRUE(rig.boxes.shown.empty());
  EXPECT_FALSE(rig.run.running());

  // The page as downloaded and as stripped, and the figures the report's chart reads.
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), page + "\r\n");
  EXPECT_EQ(rig.buffer.text("txt_nohtmlsource"), test::readBytes(rig.work.comprmDat()));
  EXPECT_NE(rig.buffer.text("txt_nohtmlsource").find(cp(" Acacia Avenue, £250,000 average ")),
            std::string::npos);
  const std::map<std::string, std::string> fields = {
      {"txt_htmlsource", page},
      {"lbl_streetname", "Acacia Avenue"},
      {"lbl_estdhouseprice", cp("£300,000")},
      {"lbl_period", "7"},
      {"txt_estdval", "300000"},
      {"gph_marketarray", "264,281,290,301,312,312,315,313,314"}};
  for (const auto& [field, value] : fields) EXPECT_EQ(rig.buffer.text(field), value) << field;
  // The stripper writes the date and time on the main window before and after its work.
  ASSERT_EQ(rig.inputs.printed.size(), 2u);
  EXPECT_TRUE(std::regex_match(rig.inputs.printed[1], std::regex(R"(\d\d/\d\d/\d{4} [\d:]{8})")));
}

TEST(ValuationRun, AMissingWorkFolderShowsTheFileBoxesAndStillEndsWithTheReport) {
  RunRig rig;
  std::filesystem::remove(rig.work.folder());
  rig.pages.pages = {test::kAcaciaPage};
  rig.run.DoProc();
  ASSERT_EQ(rig.boxes.shown.size(), 2u);
  EXPECT_EQ(rig.boxes.shown[0].text.substr(0, 6), "Error ");
  EXPECT_EQ(rig.boxes.shown[0].icon, MessageIcon::Critical);
  EXPECT_EQ(rig.boxes.shown[1], (test::ShownBox{"File Not Found", "Error"}));
  // Nothing could be stripped: the cuts find nothing rather than the field's earlier text.
  EXPECT_EQ(rig.buffer.text("txt_nohtmlsource"), "");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "No sold prices found for AB1");
  EXPECT_TRUE(rig.report.visible);
  EXPECT_FALSE(std::filesystem::exists(rig.work.folder()));
  EXPECT_EQ(rig.inputs.printed.size(), 1u);
}

TEST(ValuationRun, AFailingStepIsSkippedSilently) {
  struct FailingPages final : PageSource {
    std::string fetch(const std::string&) override { throw Failure(FailureKind::Overflow); }
  } failing;
  RunRig rig;
  rig.buffer.setText("txt_htmlsource", "an earlier page");
  ValuationRun(rig.ports(failing), kHost).DoProc();
  EXPECT_EQ(rig.buffer.text("txt_htmlsource"), "");
  EXPECT_EQ(rig.progress.lines.size(), 9u);
  EXPECT_EQ(rig.waiter.seconds, kPauses);
  EXPECT_EQ(rig.report.refreshes, 1);
}

TEST(ValuationRun, ASecondRunReportsItsOwnPageWithItsFirstLineOnTop) {
  RunRig rig;
  const std::string second = test::soldPricesPage("Birch Road", "180,000");
  rig.pages.pages = {test::kAcaciaPage, second};
  rig.run.DoProc();
  rig.inputs.postcodeText = "CD3";
  rig.run.DoProc();
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_ESTVALUE5YEARS], cp("£225,000"));
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for CD3");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), second + "\r\n");
  Lines expected = {"Connecting to source..."};
  expected.insert(expected.end(), kAcaciaLines.begin(), kAcaciaLines.end());
  expected.insert(expected.end(), {"Sending request...", "Data for: Birch Road",
                                   "Downloading data...", "RD: Push Client", "Market at: 9000",
                                   "AVG Market: 5%", "Drawing data", "Complete"});
  EXPECT_EQ(rig.progress.lines, expected);
}

TEST(ValuationRun, ReadsEachInputAtTheStepThatNeedsIt) {
  RunRig rig;
  rig.pages.pages = {test::kAcaciaPage};
  rig.waiter.duringWait = [&](std::size_t index) {
    if (index > 0) return;  // the user edits the window during the pause after the download
    rig.inputs.postcodeText = "EF4";
    rig.inputs.valuationText = cp("£123,000");
    rig.inputs.purchasedAgoText = "3";
  };
  rig.run.DoProc();
  EXPECT_EQ(rig.pages.urls, Lines{soldPricesAddress(kHost, "AB1")});
  EXPECT_EQ(rig.buffer.text("txt_estdval"), "123000");
  EXPECT_EQ(rig.buffer.text("lbl_period"), "3");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for EF4");
}

TEST(ValuationRun, ASecondStartDuringAPauseDoesNothing) {
  RunRig rig;
  rig.pages.pages = {test::kAcaciaPage};
  rig.waiter.duringWait = [&](std::size_t) {
    EXPECT_TRUE(rig.run.running());
    rig.run.DoProc();
  };
  rig.run.DoProc();
  EXPECT_EQ(rig.pages.urls.size(), 1u);
  EXPECT_EQ(rig.browser.urls.size(), 1u);
  EXPECT_EQ(rig.progress.lines, kAcaciaLines);
  EXPECT_EQ(rig.waiter.seconds, kPauses);
}

}  // namespace
}  // namespace korvane
