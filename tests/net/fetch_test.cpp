#include "net/fetch.h"

#include "net/save.h"
#include "support/files.h"
#include "support/loopback_server.h"
#include "support/recording_message_boxes.h"
#include "util/program_end.h"

#include <QTimer>

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace korvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

std::string allByteValues() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// A body of n bytes that is not a repetition of 256 bytes, so a chunk read twice would show.
std::string patterned(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// --- Bodies come back exactly ---------------------------------------------------------------

class BodySize : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BodySize, ComesBackWholeWithNothingAddedOrLost) {
  LoopbackServer server;
  const std::string body = patterned(GetParam());
  server.serve("/page", 200, body);
  const std::string fetched = FetchUrlText(server.url("/page"));
  EXPECT_EQ(fetched.size(), body.size());
  EXPECT_TRUE(fetched == body);
}

INSTANTIATE_TEST_SUITE_P(AroundTheReadSize, BodySize,
                         ::testing::Values(0, 1, 255, 256, 257, 512, 100'000));

TEST(FetchUrlText, EveryByteValueSurvivesTheDownloadAndTheSave) {
  LoopbackServer server;
  server.serve("/bytes", 200, allByteValues(), "application/octet-stream");
  test::TempDir dir;
  test::RecordingMessageBoxes boxes;
  ASSERT_TRUE(SaveTextFile(FetchUrlText(server.url("/bytes")), dir / "entity.html", boxes));
  EXPECT_EQ(test::readBytes(dir / "entity.html"), allByteValues() + "\r\n");
  EXPECT_TRUE(boxes.shown().empty());
}

// --- What the server sees --------------------------------------------------------------------

TEST(FetchUrlText, SendsTheAgentAndTheExactPathAndQuery) {
  LoopbackServer server;
  server.serve("/index.php", 200, "ok");
  const std::string target = "/index.php?con=sold_prices_street&cCode=EW&postcode=SW1A1AA";
  ASSERT_EQ(FetchUrlText(server.url(target)), "ok");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, target);
  EXPECT_EQ(requests[0].userAgent, "vb wininet");
}

TEST(FetchUrlText, AsksForTheBodyUncompressedAndGetsALongRepetitivePageWhole) {
  // A page that packs very well: a compressed transfer would be unpacked (or refused) by the
  // client instead of handing back the served bytes.
  std::string page;
  while (page.size() < 20'000'000)
    page += "<tr><td>High Street</td><td>&pound;250000</td></tr>\r\n";
  LoopbackServer server;
  server.serve("/long", 200, page);
  const std::string fetched = FetchUrlText(server.url("/long"));
  EXPECT_EQ(fetched.size(), page.size());
  EXPECT_TRUE(fetched == page);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].headers.at("Accept-Encoding"), "identity");
}

TEST(FetchUrlText, SendsAPostCodeWithSpacesAndPoundSignsEncodedByteForByte) {
  LoopbackServer server;
  server.serve("/index.php", 200, "ok");
  ASSERT_EQ(FetchUrlText(server.url("/index.php?postcode=SW1A 1AA\xA3")), "ok");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].target, "/index.php?postcode=SW1A%201AA%A3");
}

// --- Statuses and redirects ------------------------------------------------------------------

struct StatusCase {
  const char* name;
  int status;
  std::string body;
};

class ErrorStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ErrorStatus, ReturnsTheBodyOfTheAnswer) {
  LoopbackServer server;
  server.serve("/p", GetParam().status, GetParam().body);
  EXPECT_EQ(FetchUrlText(server.url("/p")), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(Statuses, ErrorStatus,
                         ::testing::Values(StatusCase{"NotFound", 404, "<h1>No such street</h1>"},
                                           StatusCase{"BadRequest", 400, "bad request page"},
                                           StatusCase{"Forbidden", 403, "forbidden"},
                                           StatusCase{"ServerError", 500, "server error page"},
                                           StatusCase{"Unavailable", 503, "try later"},
                                           StatusCase{"Teapot", 418, "short and stout"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The paths asked for, each once, in the order first asked. The client may send a request again
// on a fresh connection when a kept-alive one closes under it, and a repeat may be logged after a
// later hop, since each connection is served on its own thread.
std::vector<std::string> pathsSeen(const LoopbackServer& server) {
  std::vector<std::string> paths;
  for (const auto& request : server.requests())
    if (std::find(paths.begin(), paths.end(), request.path) == paths.end())
      paths.push_back(request.path);
  return paths;
}

TEST(FetchUrlText, FollowsARedirectChainToItsPage) {
  LoopbackServer server;
  server.redirect("/old", "/moved", 301);
  server.redirect("/moved", "/new", 302);
  server.serve("/new", 200, "the page");
  EXPECT_EQ(FetchUrlText(server.url("/old?postcode=A1")), "the page");
  EXPECT_EQ(pathsSeen(server), (std::vector<std::string>{"/old", "/moved", "/new"}));
}

// A chain of `hops` redirects from /r0 to /page.
void redirectChain(LoopbackServer& server, int hops) {
  for (int i = 0; i < hops; ++i)
    server.redirect("/r" + std::to_string(i),
                    i + 1 == hops ? "/page" : "/r" + std::to_string(i + 1));
  server.serve("/page", 200, "end of the chain");
}

TEST(FetchUrlText, FollowsTenRedirectsButNotEleven) {
  LoopbackServer ten;
  redirectChain(ten, 10);
  EXPECT_EQ(FetchUrlText(ten.url("/r0")), "end of the chain");
  LoopbackServer eleven;
  redirectChain(eleven, 11);
  EXPECT_EQ(FetchUrlText(eleven.url("/r0")), "");
}

TEST(FetchUrlText, RedirectLoopGivesEmptyText) {
  LoopbackServer server;
  server.redirect("/a", "/b");
  server.redirect("/b", "/a");
  EXPECT_EQ(FetchUrlText(server.url("/a")), "");
}

// --- Failures give empty text ----------------------------------------------------------------

TEST(FetchUrlText, UnreachablePortGivesEmptyText) {
  int closedPort = 0;
  {
    LoopbackServer gone;
    closedPort = gone.port();
  }
  EXPECT_EQ(FetchUrlText("http://127.0.0.1:" + std::to_string(closedPort) + "/page"), "");
}

TEST(FetchUrlText, UntrustedCertificateGivesEmptyTextAndNoRequest) {
  LoopbackServer server(LoopbackServer::Scheme::Https);
  server.serve("/page", 200, "must not be read");
  EXPECT_EQ(FetchUrlText(server.url("/page")), "");
  EXPECT_TRUE(server.requests().empty());
}

TEST(FetchUrlText, MalformedAddressGivesEmptyText) {
  EXPECT_EQ(FetchUrlText(""), "");
  EXPECT_EQ(FetchUrlText("http://"), "");
  EXPECT_EQ(FetchUrlText("not an address"), "");
}

TEST(PageFetcher, StalledTransferGivesEmptyTextOnceTheTimeoutPasses) {
  LoopbackServer server;
  server.stall("/slow", 1000, "<html>the first part");
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(PageFetcher(300ms).fetch(server.url("/slow")), "");
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, 250ms);  // Qt runs the timeout on a coarse timer, which may fire a bit early
  EXPECT_LT(took, 20s);    // far below the server's own five-minute hold
}

TEST(PageFetcher, BodyCutOffMidwayGivesEmptyText) {
  LoopbackServer server;
  server.closeMidBody("/cut", 5000, std::string(1000, 'x'));
  EXPECT_EQ(PageFetcher().fetch(server.url("/cut")), "");
}

struct LimitCase {
  const char* name;
  std::size_t bodySize;
  bool accepted;
};

class BodyLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(BodyLimit, BodiesUpToTheLimitPassAndLargerOnesGiveEmptyText) {
  LoopbackServer server;
  const std::string body = patterned(GetParam().bodySize);
  server.serve("/big", 200, body);
  const std::string fetched =
      PageFetcher(PageFetcher::kTransferTimeout, 1000).fetch(server.url("/big"));
  EXPECT_EQ(fetched, GetParam().accepted ? body : std::string());
}

INSTANTIATE_TEST_SUITE_P(AroundTheLimit, BodyLimit,
                         ::testing::Values(LimitCase{"Below", 999, true},
                                           LimitCase{"Exactly", 1000, true},
                                           LimitCase{"OneOver", 1001, false},
                                           LimitCase{"FarOver", 300'000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The program ending ----------------------------------------------------------------------

class FetchWhileEnding : public ::testing::Test {
 protected:
  void TearDown() override { resetProgramEnd(); }
};

TEST_F(FetchWhileEnding, ProgramEndDuringADownloadEndsItWithEmptyText) {
  LoopbackServer server;
  server.stall("/slow", 1000, "partial");
  QTimer::singleShot(200, [] { requestProgramEnd(); });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(PageFetcher(30s).fetch(server.url("/slow")), "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
}

TEST_F(FetchWhileEnding, NoDownloadStartsOnceTheProgramIsEnding) {
  LoopbackServer server;
  server.serve("/page", 200, "text");
  requestProgramEnd();
  EXPECT_EQ(FetchUrlText(server.url("/page")), "");
  EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace korvane
