#pragma once

// An HTTP server on 127.0.0.1 (a free port) for tests, on its own thread. Each path is told what
// to answer: a body and status, a redirect, or a body broken off midway. Every request is kept.
//
//   LoopbackServer server;
//   server.serve("/index.php", 200, "<html>...</html>");
//   FetchUrlText(server.url("/index.php?postcode=AB1"));
//   EXPECT_EQ(server.requests().at(0).target, "/index.php?postcode=AB1");

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace korvane::test {

struct SeenRequest {
  std::string target;  // path and query exactly as sent
  std::map<std::string, std::string> headers;
};

class LoopbackServer {
 public:
  // Https answers with a self-signed certificate for 127.0.0.1 that no client trusts.
  enum class Scheme { Http, Https };

  // Listens at once; fails the current test when no port can be bound.
  explicit LoopbackServer(Scheme scheme = Scheme::Http);
  // Releases held answers, stops the server and joins its thread.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "http://127.0.0.1:<port>" (or https) followed by target, which starts with "/".
  std::string url(const std::string& target) const;

  // Answers GETs of path (query ignored) with exactly these bytes and this status; paths without
  // an answer get 404 and an empty body.
  void serve(const std::string& path, int status, std::string body);
  void redirect(const std::string& path, const std::string& location, int status = 302);
  // Announces `announced` bytes, sends `sent`, then holds the connection for holdFor (until the
  // server goes, at most) and drops it.
  void breakOff(const std::string& path, std::size_t announced, std::string sent,
                std::chrono::milliseconds holdFor = std::chrono::milliseconds(0));

  std::vector<SeenRequest> requests() const;

 private:
  struct Answer {
    int status = 200;
    std::string body, location;
    std::size_t announced = 0;  // a broken-off body's announced length
    std::chrono::milliseconds holdFor{0};
  };

  std::unique_ptr<httplib::Server> m_server;
  std::thread m_thread;
  std::string m_origin;
  mutable std::mutex m_mutex;
  std::condition_variable m_released;
  bool m_stopping = false;
  std::map<std::string, std::shared_ptr<const Answer>> m_answers;
  std::vector<SeenRequest> m_requests;
};

}  // namespace korvane::test
