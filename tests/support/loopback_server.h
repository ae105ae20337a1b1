#pragma once

// An HTTP server on 127.0.0.1 (a free port) for tests, running on its own thread. Each path is
// told what to answer: an exact body and status, a redirect, a stall, or a body cut off midway.
// Every request is recorded. Routes may be added while the server runs.
//
//   LoopbackServer server;
//   server.serve("/index.php", 200, "<html>...</html>");
//   std::string page = FetchUrlText(server.url("/index.php?postcode=AB1"));
//   EXPECT_EQ(server.requests().at(0).target, "/index.php?postcode=AB1");

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace korvane::test {

// One request as the server saw it.
struct SeenRequest {
  std::string method;
  std::string target;  // path and query exactly as sent, e.g. "/index.php?a=1&b=%20"
  std::string path;    // target without its query, percent-decoded
  std::string userAgent;
  std::map<std::string, std::string> headers;
};

class LoopbackServer {
 public:
  // Https serves TLS with a self-signed certificate for 127.0.0.1 that no client trusts.
  enum class Scheme { Http, Https };

  // Starts listening at once; fails the current test when no port can be bound.
  explicit LoopbackServer(Scheme scheme = Scheme::Http);
  // Releases stalled answers, stops the server and joins its thread.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return m_port; }
  // "http://127.0.0.1:<port>" (or "https://...") followed by target (which starts with "/").
  std::string url(std::string_view target) const;

  // Answers GETs of path (query ignored) with exactly these bytes and this status.
  void serve(const std::string& path, int status, std::string body,
             std::string contentType = "text/html");
  // Answers with a redirect (status 301, 302, 303, 307 or 308) to location.
  void redirect(const std::string& path, const std::string& location, int status = 302);
  // Sends the status line, headers announcing announcedLength bytes and then `first`, and sends
  // nothing more until `holdFor` has passed or the server is destroyed; then drops the connection.
  void stall(const std::string& path, std::size_t announcedLength, std::string first = {},
             std::chrono::milliseconds holdFor = std::chrono::minutes(5));
  // Announces announcedLength bytes, sends only `partial`, then closes the connection.
  void closeMidBody(const std::string& path, std::size_t announcedLength, std::string partial);
  // Paths without a route get 404 with an empty body.

  // Every request received so far, in order of arrival.
  std::vector<SeenRequest> requests() const;

 private:
  struct Route;
  std::shared_ptr<const Route> routeFor(const std::string& path) const;
  void addRoute(const std::string& path, Route route);
  // Waits until `until` or until the server shuts down; true when shutting down.
  bool holdUntil(std::chrono::steady_clock::time_point until);

  std::unique_ptr<httplib::Server> m_server;
  std::thread m_thread;
  Scheme m_scheme;
  int m_port = 0;

  mutable std::mutex m_mutex;
  std::condition_variable m_released;
  bool m_shuttingDown = false;
  std::map<std::string, std::shared_ptr<const Route>> m_routes;
  std::vector<SeenRequest> m_requests;
};

}  // namespace korvane::test
