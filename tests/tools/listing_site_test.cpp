// The listing site over loopback HTTP: its addresses, the post code as asked, the request log, and
// several sites side by side.

#include "listing/listing_site.h"

#include "listing/default_paths.h"

#include "support/files.h"

#include <httplib.h>

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::listing {
namespace {

using testing::HasSubstr;
using testing::Not;

// A sold-prices page that names the post code it was asked for; "fail" makes it throw.
std::string echoPage(std::string_view postcode) {
  if (postcode == "fail") throw std::runtime_error("disk on fire");
  return "<p>sales for [" + std::string(postcode) + "]</p>";
}

std::string soldPricesPath(const std::string& postcode) {
  return "/index.php?con=sold_prices_street&cCode=EW&postcode=" + postcode;
}

class ListingSiteTest : public testing::Test {
 protected:
  void SetUp() override {
    m_port = m_site.start("127.0.0.1", 0);
    ASSERT_GT(m_port, 0);
  }

  httplib::Result get(const std::string& path) {
    httplib::Client client("127.0.0.1", m_port);
    return client.Get(path);
  }

  std::ostringstream m_log;
  ListingSite m_site{echoPage, "footnote", m_log};
  int m_port = 0;
};

TEST_F(ListingSiteTest, AnswersItsPagesAndNothingElse) {
  static const struct {
    const char* path;
    int status;
    const char* holds;
  } cases[] = {
      {"/", 200, "<h1>Korvane</h1>"},
      {"/", 200, "<p>footnote</p>"},
      {"/links.html", 200, "<h1>Links</h1>"},
      {"/mortgage-tools.html", 200, "<h1>Mortgage tools</h1>"},
      {"/index.php?con=sold_prices_street&cCode=EW&postcode=CF10%203NQ", 200, "[CF10 3NQ]"},
      {"/nope", 404, "Not found"},
      {"/links.htm", 404, "Not found"},
      {"/index.php", 404, "Not found"},
      {"/index.php?con=other_page&postcode=CF10%203NQ", 404, "Not found"},
  };
  for (const auto& c : cases) {
    auto result = get(c.path);
    ASSERT_TRUE(result) << c.path;
    EXPECT_EQ(result->status, c.status) << c.path;
    EXPECT_THAT(result->body, HasSubstr(c.holds)) << c.path;
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8") << c.path;
  }
}

TEST_F(ListingSiteTest, PostcodeReachesThePageAsTyped) {
  static const struct {
    const char* asked;
    const char* seen;
  } cases[] = {{"SW35RQ", "[SW35RQ]"}, {"sw3+5rq", "[sw3 5rq]"}, {"%20SW3%205RQ", "[ SW3 5RQ]"}};
  for (const auto& c : cases) {
    auto result = get(soldPricesPath(c.asked));
    ASSERT_TRUE(result) << c.asked;
    EXPECT_THAT(result->body, HasSubstr(c.seen)) << c.asked;
  }
}

TEST_F(ListingSiteTest, APageThatCannotBeMadeAnswersWithAServerError) {
  auto result = get(soldPricesPath("fail"));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 500);
  EXPECT_THAT(result->body, HasSubstr("disk on fire"));
}

TEST_F(ListingSiteTest, LogsOneLinePerRequest) {
  ASSERT_TRUE(get("/links.html"));
  ASSERT_TRUE(get("/nope?x=%0Aforged"));
  m_site.stop();  // a line is written after its answer went out; stopping waits for both
  std::istringstream log(m_log.str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  EXPECT_THAT(lines, testing::UnorderedElementsAre(HasSubstr("\"GET /links.html\" 200"),
                                                   HasSubstr("\"GET /nope?x=%0Aforged\" 404")));
}

TEST_F(ListingSiteTest, SitesOnPortZeroRunSideBySide) {
  std::ostringstream otherLog;
  ListingSite other(echoPage, "", otherLog);
  const int otherPort = other.start("127.0.0.1", 0);
  ASSERT_GT(otherPort, 0);
  EXPECT_NE(otherPort, m_port);

  httplib::Client client("127.0.0.1", otherPort);
  auto fromOther = client.Get(soldPricesPath("LS6%203BR"));
  auto fromFirst = get(soldPricesPath("LS6%203BR"));
  ASSERT_TRUE(fromOther);
  ASSERT_TRUE(fromFirst);
  EXPECT_EQ(fromOther->body, fromFirst->body);
  other.stop();
  m_site.stop();
  EXPECT_THAT(otherLog.str(), HasSubstr("LS6%203BR"));
  EXPECT_THAT(m_log.str(), HasSubstr("LS6%203BR"));
}

TEST(ListingSiteStartTest, APortInUseCannotBeBound) {
  std::ostringstream log;
  ListingSite first(echoPage, "", log);
  const int port = first.start("127.0.0.1", 0);
  ASSERT_GT(port, 0);
  ListingSite second(echoPage, "", log);
  EXPECT_EQ(second.start("127.0.0.1", port), -1);
  EXPECT_FALSE(second.isRunning());
  EXPECT_EQ(first.start("127.0.0.1", 0), -1);  // already serving
}

TEST(ListingSiteStartTest, StopRightAfterStartDoesNotHang) {
  std::ostringstream log;
  for (int i = 0; i < 20; ++i) {
    ListingSite site(echoPage, "", log);
    ASSERT_GT(site.start("127.0.0.1", 0), 0);
    site.stop();
    EXPECT_FALSE(site.isRunning());
  }
}

TEST(SampleDataFolderTest, InstalledDataBesideTheProgramIsPreferred) {
  test::TempDir prefix;
  std::filesystem::create_directories(prefix / "bin");
  EXPECT_EQ(sampleDataFolder(prefix / "bin", "/src/data"), "/src/data");
  std::filesystem::create_directories(prefix / "share/korvane/sample-data");
  EXPECT_EQ(sampleDataFolder(prefix / "bin", "/src/data"), prefix / "share/korvane/sample-data");
}

}  // namespace
}  // namespace korvane::listing
