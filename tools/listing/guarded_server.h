#pragma once

// cpp-httplib's server with the bounds its Debian build lacks, so that careless or hostile
// clients cannot exhaust memory or tie up the threads that answer everyone else:
// - a request, head and body, is at most kRequestBytes; past that it is refused (414 in the
//   request line, 431 in the headers, 413 in a body) and its connection closed, so a long
//   request line, endless headers or a chunked body never build up in memory;
// - a request must arrive whole within kRequestTime of its first byte, else 408: a client that
//   trickles bytes holds a thread for that long at most;
// - connections are served by up to kThreads threads, started as they are needed;
// - after a request that announces a body the connection is closed, since the body may be left
//   unread.
// Every answer, the refusals above included, carries the header "Server: <name>".

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace korvane::listing {

class GuardedServer : public httplib::Server {
 public:
  static constexpr std::size_t kRequestBytes = 16 * 1024;
  static constexpr std::chrono::seconds kRequestTime{5};
  static constexpr std::size_t kThreads = 64;

  // Told of every answer from the server's threads: the client's address, the request's method
  // and target ("-" for a request refused here), the status and the body's length in bytes.
  using Log = std::function<void(const std::string& remoteAddress, const std::string& request,
                                 int status, std::size_t bytes)>;

  // Takes the library's logger: set_logger would leave the refusals out and log twice instead.
  GuardedServer(const std::string& name, Log log);

  // Binds `host`:`port` (port 0: any free port) and listens with the system's longest queue of
  // connections to accept: the library's own queue of 5 drops a burst of connections, whose
  // clients then wait a second or more to try again. Returns the bound port, or -1.
  int bind(const std::string& host, int port);

  // True when the request says a body follows its head.
  static bool announcesBody(const httplib::Request& request);

 private:
  bool process_and_close_socket(socket_t sock) override;

  std::string m_name;
  Log m_log;
};

}  // namespace korvane::listing
