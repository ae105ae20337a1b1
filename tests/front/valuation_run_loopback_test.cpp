// A whole run over the real download against a loopback listing service; the pauses do not wait.

#include "front/valuation_run.h"
#include "net/fetch.h"
#include "support/files.h"
#include "support/loopback_server.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "support/run_rig.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <QUrl>
#include <QUrlQuery>

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace korvane {
namespace {

struct LoopbackRig : test::RunPortsRig {
  PageFetcher pages;
  void runAgainst(const std::string& host) {
    ValuationRun run{ports(pages), host};
    run.DoProc();
  }
};

TEST(ValuationRunOverLoopback, PostCodeReachesTheServiceAsOneQueryValue) {
  test::LoopbackServer server;
  server.serve("/index.php", 200, test::kAcaciaPage);
  LoopbackRig rig;
  rig.inputs.postcodeText = "AB1 2&x=1";
  rig.runAgainst(server.url(""));

  ASSERT_EQ(server.requests().size(), 1u);
  const QUrlQuery query(QUrl(QString::fromStdString(server.requests()[0].target)));
  EXPECT_EQ(query.queryItemValue("postcode", QUrl::FullyDecoded), QString("AB1 2&x=1"));
  EXPECT_EQ(query.queryItemValue("con"), QString("sold_prices_street"));
  EXPECT_EQ(query.queryItemValue("cCode"), QString("EW"));
  EXPECT_FALSE(query.hasQueryItem("x"));
  EXPECT_EQ(server.requests()[0].path, "/index.php");

  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_AVERAGEPROPERTYVALUE],
            "\xA3"
            "250,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_ESTVALUE5YEARS],
            "\xA3"
            "312,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::LBL_DIFFERENCE],
            "\xA3"
            "237,000");
  EXPECT_EQ(rig.report.captions[ReportLabel::Label4], "Report for AB1 2&x=1");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), test::kAcaciaPage + "\r\n");
}

}  // namespace
}  // namespace korvane
