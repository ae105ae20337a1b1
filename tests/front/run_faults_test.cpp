// Whole valuation runs over the real download when the listing service misbehaves: each must end
// with the report of an empty result, no message, and nothing left over from the run before.

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

#include <unistd.h>

#include <arpa/inet.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>

namespace korvane {
namespace {

using namespace std::chrono_literals;

// The real download with a short stall timeout and a small body limit, so that the faults show
// within a test's time.
constexpr std::size_t kLimit = 64 * 1024;

struct RunRig : test::RunPortsRig {
  void runAgainst(PageSource& pages, const std::string& host) {
    report.captions.clear();
    report.visible = false;
    report.refreshes = 0;
    ValuationRun run{ports(pages), host};
    run.DoProc();
  }
  // What "Evaluate another post code" does to the run's data.
  void resetForAnotherValuation() {
    ASSERT_TRUE(work.deleteWorkFiles());
    buffer.clearForAnotherValuation();
    progress.lines.clear();
  }
};

// The report of a run that got no page: zero figures, no street, only the line end in the page
// file, and no message.
void expectEmptyReport(const RunRig& rig) {
  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_TRUE(rig.report.visible);
  EXPECT_EQ(rig.report.refreshes, 1);
  EXPECT_EQ(rig.report.captions.at(ReportLabel::LBL_AVERAGEPROPERTYVALUE), "\xA3,000");
  EXPECT_EQ(rig.report.captions.at(ReportLabel::LBL_ESTVALUE5YEARS),
            "\xA3"
            "0,000");
  EXPECT_EQ(rig.report.captions.at(ReportLabel::LBL_DIFFERENCE),
            "\xA3"
            "0,000");
  EXPECT_EQ(rig.report.captions.at(ReportLabel::Label4), "No sold prices found for AB1");
  EXPECT_EQ(rig.buffer.text("lbl_streetname"), "");
  EXPECT_EQ(rig.buffer.text("txt_htmlsource"), "");
  EXPECT_EQ(rig.buffer.text("gph_array"), ",0,0,0,0,0");
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), "\r\n");
  EXPECT_EQ(rig.progress.lines.size(), 9u);
}

// --- A misbehaving service after a good run and a reset -------------------------------------

struct ServiceFault {
  const char* name;
  // Sets up the faulty service and returns its host.
  std::function<std::string(test::LoopbackServer&)> arrange;
};

const ServiceFault kServiceFaults[] = {
    {"UnreachableHost",
     [](test::LoopbackServer&) {
       // A port that was just in use and is closed now.
       auto gone = std::make_unique<test::LoopbackServer>();
       const std::string host = gone->url("");
       gone.reset();
       return host;
     }},
    {"StalledServer",
     [](test::LoopbackServer& server) {
       server.stall("/index.php", test::kAcaciaPage.size() + 100, test::kAcaciaPage.substr(0, 40));
       return server.url("");
     }},
    {"OversizedBody",
     [](test::LoopbackServer& server) {
       // The whole listing comes first: a download that kept the part below the limit would
       // show its street.
       server.serve("/index.php", 200, test::kAcaciaPage + std::string(kLimit, ' '));
       return server.url("");
     }},
    {"RedirectLoop",
     [](test::LoopbackServer& server) {
       server.redirect("/index.php", "/elsewhere");
       server.redirect("/elsewhere", "/index.php");
       return server.url("");
     }},
    {"ClosesInTheMiddleOfTheBody",
     [](test::LoopbackServer& server) {
       server.closeMidBody("/index.php", test::kAcaciaPage.size() + 100, test::kAcaciaPage);
       return server.url("");
     }},
};

class ServiceFaultRun : public ::testing::TestWithParam<ServiceFault> {};

TEST_P(ServiceFaultRun, EndsWithAnEmptyReportAndNothingOfThePreviousRun) {
  RunRig rig;
  PageFetcher programPages;
  test::LoopbackServer good;
  good.serve("/index.php", 200, test::kAcaciaPage);
  rig.runAgainst(programPages, good.url(""));
  ASSERT_EQ(rig.buffer.text("lbl_streetname"), "Acacia Avenue");
  rig.resetForAnotherValuation();

  test::LoopbackServer faulty;
  const std::string host = GetParam().arrange(faulty);
  PageFetcher pages{1s, kLimit};
  rig.runAgainst(pages, host);
  expectEmptyReport(rig);
}

INSTANTIATE_TEST_SUITE_P(Faults, ServiceFaultRun, ::testing::ValuesIn(kServiceFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Pages at the size limit -----------------------------------------------------------------

// A page of exactly `size` bytes: tags and filler lines, with the listing at its very end.
std::string pageOfSize(std::size_t size) {
  const std::string filler = "<tr><td>filler row</td></tr>\r\n";
  std::string page;
  page.reserve(size);
  while (page.size() + filler.size() + test::kAcaciaPage.size() <= size) page += filler;
  page.append(size - page.size() - test::kAcaciaPage.size(), ' ');
  page += test::kAcaciaPage;
  return page;
}

TEST(LargePageRun, APageOfSixtyFourMebibytesIsReadToItsEnd) {
  RunRig rig;
  PageFetcher pages;
  test::LoopbackServer server;
  const std::string page = pageOfSize(PageFetcher::kBodyLimit);
  server.serve("/index.php", 200, page);
  rig.runAgainst(pages, server.url(""));

  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_EQ(rig.buffer.text("lbl_streetname"), "Acacia Avenue");
  EXPECT_EQ(rig.report.captions.at(ReportLabel::LBL_AVERAGEPROPERTYVALUE),
            "\xA3"
            "250,000");
  EXPECT_EQ(std::filesystem::file_size(rig.work.entityHtml()), page.size() + 2);
}

TEST(LargePageRun, OneByteMoreGivesAnEmptyReport) {
  RunRig rig;
  PageFetcher pages;
  test::LoopbackServer server;
  server.serve("/index.php", 200, pageOfSize(PageFetcher::kBodyLimit + 1));
  rig.runAgainst(pages, server.url(""));
  expectEmptyReport(rig);
}

// --- Unusual post codes ----------------------------------------------------------------------

// Answers one HTTP request on 127.0.0.1 with a fixed page and keeps the request's first line.
// Unlike the usual test server it accepts request lines of any length.
class OneRequestServer {
 public:
  explicit OneRequestServer(std::string page) : m_page(std::move(page)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 1) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "cannot listen on 127.0.0.1";
      return;
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { answerOne(); });
  }
  ~OneRequestServer() {
    stop();
    ::close(m_listener);
  }
  OneRequestServer(const OneRequestServer&) = delete;
  OneRequestServer& operator=(const OneRequestServer&) = delete;

  std::string host() const { return "http://127.0.0.1:" + std::to_string(m_port); }
  // Stops listening and returns the request as received, up to the empty line after its
  // headers ("" when none came).
  std::string takeRequest() {
    stop();
    return m_request;
  }

 private:
  void stop() {
    ::shutdown(m_listener, SHUT_RDWR);  // ends a pending accept
    if (m_thread.joinable()) m_thread.join();
  }
  void answerOne() {
    const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    char chunk[4096];
    while (m_request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t got = ::read(connection, chunk, sizeof chunk);
      if (got <= 0) break;
      m_request.append(chunk, static_cast<std::size_t>(got));
    }
    const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                               std::to_string(m_page.size()) + "\r\nConnection: close\r\n\r\n" +
                               m_page;
    for (std::size_t sent = 0; sent < answer.size();) {
      const ssize_t put = ::write(connection, answer.data() + sent, answer.size() - sent);
      if (put <= 0) break;
      sent += static_cast<std::size_t>(put);
    }
    ::close(connection);
  }

  std::string m_page;
  int m_listener = -1;
  int m_port = 0;
  std::string m_request;
  std::thread m_thread;
};

struct PostCodeCase {
  const char* name;
  std::string postcode;
};

const PostCodeCase kPostCodes[] = {
    {"TenThousandCharacters", std::string(9'990, 'A') + " 2CD ZZ9Q"},
    {"WithCrLf", "AB1\r\nHost: elsewhere\r\n\r\nGET /x HTTP/1.1"},
};

class UnusualPostCodeRun : public ::testing::TestWithParam<PostCodeCase> {};

TEST_P(UnusualPostCodeRun, IsSentWholeAsOneQueryValueAndReportedAsTyped) {
  const std::string& postcode = GetParam().postcode;
  RunRig rig;
  rig.inputs.postcodeText = postcode;
  PageFetcher pages;
  OneRequestServer server(test::kAcaciaPage);
  rig.runAgainst(pages, server.host());
  const std::string request = server.takeRequest();

  // One request line, then the client's own headers: nothing of the post code split it.
  const std::size_t lineEnd = request.find("\r\n");
  ASSERT_NE(lineEnd, std::string::npos);
  const std::string line = request.substr(0, lineEnd);
  ASSERT_TRUE(line.starts_with("GET ") && line.ends_with(" HTTP/1.1")) << line.substr(0, 80);
  const std::string target = line.substr(4, line.size() - 4 - 9);
  EXPECT_EQ(target.find_first_of(" \r\n"), std::string::npos);
  EXPECT_EQ(request.find("Host: elsewhere"), std::string::npos);
  const QUrlQuery query(QUrl(QString::fromStdString(target)));
  EXPECT_EQ(query.queryItemValue("postcode", QUrl::FullyDecoded).toStdString(), postcode);

  EXPECT_TRUE(rig.boxes.shown().empty());
  EXPECT_EQ(rig.buffer.text("lbl_streetname"), "Acacia Avenue");
  EXPECT_EQ(rig.report.captions.at(ReportLabel::Label4), "Report for " + postcode);
}

INSTANTIATE_TEST_SUITE_P(PostCodes, UnusualPostCodeRun, ::testing::ValuesIn(kPostCodes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
