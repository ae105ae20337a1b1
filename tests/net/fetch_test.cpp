// Downloading a page over HTTP, and the browser pane nobody sees.

#include "net/fetch.h"

#include "net/hidden_pane.h"
#include "support/loopback_server.h"
#include "util/program_end.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>
#include <string>

namespace korvane {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;

// n bytes that do not repeat every 256, so a chunk read twice or lost would show.
std::string patterned(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

TEST(FetchUrlText, ReturnsTheBodyByteForByteWhateverTheStatus) {
  LoopbackServer server;
  for (const std::size_t size : {0, 1, 255, 256, 257, 100'000}) {
    server.serve("/page", 200, patterned(size));
    EXPECT_TRUE(FetchUrlText(server.url("/page")) == patterned(size)) << size;
  }
  for (const int status : {400, 403, 404, 418, 500, 503}) {
    server.serve("/status", status, "page of " + std::to_string(status));
    EXPECT_EQ(FetchUrlText(server.url("/status")), "page of " + std::to_string(status));
  }
}

TEST(FetchUrlText, SendsTheAgentAndTheAddressAsGivenAndAsksForTheBodyUnpacked) {
  // A page that packs very well: a compressed transfer would be unpacked, or refused as an
  // archive bomb, instead of handing back the bytes served.
  std::string page;
  while (page.size() < 20'000'000) page += "<tr><td>High Street</td><td>250000</td></tr>\r\n";
  LoopbackServer server;
  server.serve("/index.php", 200, page);
  EXPECT_TRUE(FetchUrlText(server.url("/index.php?postcode=SW1A 1AA\xA3&cCode=EW")) == page);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  // Bytes that cannot stand in an address are percent-encoded as they are.
  EXPECT_EQ(requests[0].target, "/index.php?postcode=SW1A%201AA%A3&cCode=EW");
  EXPECT_EQ(requests[0].headers.at("User-Agent"), "vb wininet");
  EXPECT_EQ(requests[0].headers.at("Accept-Encoding"), "identity");
}

TEST(FetchUrlText, FollowsUpToTenRedirects) {
  LoopbackServer server;
  for (int i = 0; i < 11; ++i)
    server.redirect("/r" + std::to_string(i), "/r" + std::to_string(i + 1));
  server.serve("/r11", 200, "end of the chain");
  EXPECT_EQ(FetchUrlText(server.url("/r1")), "end of the chain");
  EXPECT_EQ(FetchUrlText(server.url("/r0")), "");
}

TEST(FetchUrlText, GivesEmptyTextWhenNothingCanBeFetched) {
  std::string closed;
  {
    LoopbackServer gone;
    closed = gone.url("/page");
  }
  EXPECT_EQ(FetchUrlText(closed), "");
  LoopbackServer untrusted(LoopbackServer::Scheme::Https);
  untrusted.serve("/page", 200, "must not be read");
  EXPECT_EQ(FetchUrlText(untrusted.url("/page")), "");
  EXPECT_TRUE(untrusted.requests().empty());
  for (const char* malformed : {"", "http://", "not an address"})
    EXPECT_EQ(FetchUrlText(malformed), "") << malformed;
}

TEST(PageFetcher, AStalledBrokenOrOversizedBodyGivesEmptyText) {
  LoopbackServer server;
  server.breakOff("/stalled", 1000, "<html>the first part", 5min);
  server.breakOff("/cut", 5000, std::string(1000, 'x'));
  EXPECT_EQ(PageFetcher(300ms).fetch(server.url("/stalled")), "");
  // The connection's close races Qt's reading of the body: a few tries show either order.
  for (int attempt = 0; attempt < 50; ++attempt)
    EXPECT_EQ(PageFetcher().fetch(server.url("/cut")), "") << attempt;
  for (const std::size_t size : {999, 1000, 1001, 300'000}) {
    server.serve("/big", 200, patterned(size));
    const std::string fetched = PageFetcher(30s, 1000).fetch(server.url("/big"));
    EXPECT_TRUE(fetched == (size <= 1000 ? patterned(size) : std::string())) << size;
  }
}

TEST(PageFetcher, TheProgramsEndEndsADownloadAndStartsNone) {
  LoopbackServer server;
  server.breakOff("/stalled", 1000, "partial", 5min);
  QTimer::singleShot(200, [] { requestProgramEnd(); });
  EXPECT_EQ(PageFetcher(5min).fetch(server.url("/stalled")), "");
  server.serve("/page", 200, "text");
  EXPECT_EQ(FetchUrlText(server.url("/page")), "");
  EXPECT_EQ(server.requests().size(), 1u);
  resetProgramEnd();
}

TEST(HiddenPane, LoadsTheAddressWithOneGetAndNeverWaitsForIt) {
  LoopbackServer server;
  server.breakOff("/", 1000, "<html>", 5min);
  auto pane = std::make_unique<HiddenPane>();
  pane->navigate(server.url("/"));  // returns although the answer never completes
  QDeadlineTimer deadline(1s);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].target, "/");
  pane.reset();  // aborts the load still under way
}

}  // namespace
}  // namespace korvane
