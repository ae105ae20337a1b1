// What the site answers a careless or hostile client, on raw connections, while 32 others hold
// their requests half sent.

#include "listing/listing_site.h"

#include <poll.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace korvane::listing {
namespace {

using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

class Connection {
 public:
  explicit Connection(int port) {
    sockaddr_in site{};
    site.sin_family = AF_INET;
    site.sin_port = htons(static_cast<uint16_t>(port));
    site.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(connect(m_socket, reinterpret_cast<sockaddr*>(&site), sizeof site), 0);
  }
  ~Connection() { close(m_socket); }
  void send(const std::string& bytes) {
    ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }
  bool answered() {
    pollfd ready{m_socket, POLLIN, 0};
    return poll(&ready, 1, 0) > 0;
  }
  // What the site sends until it closes the connection (10 seconds at most).
  std::string answer() {
    std::string got;
    char buffer[4096];
    for (pollfd ready{m_socket, POLLIN, 0}; poll(&ready, 1, 10'000) > 0;) {
      const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }

 private:
  int m_socket = socket(AF_INET, SOCK_STREAM, 0);
};

TEST(ListingSiteTest, RefusesWhatIsNotAddressedToItOrExceedsItsBoundsAndKeepsServing) {
  std::ostringstream log;
  ListingSite site(
      [](std::string_view postcode) -> std::string {
        if (postcode == "BROKEN") throw std::runtime_error("/home/ann/listing.sqlite: disk I/O");
        return "<p>" + std::string(postcode) + "</p>";
      },
      "footer", log);
  const int port = site.start("127.0.0.1", 0);
  const std::string at = "127.0.0.1:" + std::to_string(port);
  const std::string page = "GET /index.php?con=sold_prices_street&postcode=";
  std::string lines;  // many short header lines
  while (lines.size() < 20'000) lines += "X-Line: " + std::to_string(lines.size()) + "\r\n";
  std::vector<std::unique_ptr<Connection>> slow;
  for (int i = 0; i < 32; ++i) {
    slow.push_back(std::make_unique<Connection>(port));
    slow.back()->send("GET / HTTP/1.1\r\nHost: " + at + "\r\nX-Slow: ");
  }
  const std::pair<std::string, const char*> cases[] = {
      {page + "CF10 HTTP/1.0\r\nHost: " + at + "\r\n\r\n", "200 OK"},
      {"GET / HTTP/1.0\r\nHost: LocalHost:" + std::to_string(port) + "\r\n\r\n", "200 OK"},
      {"GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", "200 OK"},  // no port: the name is ours
      {"GET / HTTP/1.0\r\n\r\n", "200 OK"},
      {"GET / HTTP/1.0\r\nHost: rebound.example:" + std::to_string(port) + "\r\n\r\n", "421"},
      {"GET / HTTP/1.0\r\nHost: 127.0.0.1:1\r\n\r\n", "421"},
      {"GET / HTTP/1.0\r\nHost: " + at + "\r\nHost: rebound.example\r\n\r\n", "421"},
      {"POST / HTTP/1.1\r\nHost: " + at + "\r\nContent-Length: 1073741824\r\n\r\n" +
           std::string(1 << 20, 'x'),
       "413"},
      {"GET / HTTP/1.1\r\nHost: " + at + "\r\nTransfer-Encoding: chunked\r\n\r\n100000\r\n" +
           std::string(1 << 20, 'x'),
       "413"},
      // Unended, so that they are answered only when a bound is reached.
      {"GET /" + std::string(20'000, 'a'), "414"},
      {"GET / HTTP/1.1\r\n" + std::string(20'000, 'X'), "431"},
      {"GET / HTTP/1.1\r\n" + lines, "431"},
      {page + "BROKEN HTTP/1.0\r\n\r\n", "500"},
  };
  for (const auto& [request, status] : cases) {
    SCOPED_TRACE(request.substr(0, 80));
    Connection client(port);
    client.send(request);
    const std::string answer = client.answer();
    EXPECT_THAT(answer, StartsWith(std::string("HTTP/1.1 ") + status));
    EXPECT_THAT(answer, HasSubstr("\r\nServer: korvane-listing\r\n"));
    EXPECT_THAT(answer, Not(HasSubstr("/home/ann")));
  }
  // All of that while the slow requests held their threads; those time out as they trickle on.
  for (auto& client : slow) EXPECT_FALSE(client->answered());
  for (int second = 0; second < 20 && !slow.back()->answered(); ++second) {
    for (auto& client : slow)
      if (!client->answered()) client->send("a");
    sleep(1);
  }
  for (auto& client : slow) EXPECT_THAT(client->answer(), StartsWith("HTTP/1.1 408"));
  site.stop();
  EXPECT_THAT(log.str(), HasSubstr("/home/ann/listing.sqlite: disk I/O"));
}

}  // namespace
}  // namespace korvane::listing
