#include "guarded_server.h"

#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace korvane::listing {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks whether the server is stopping.
constexpr auto kStopCheck = std::chrono::milliseconds(100);
// What is read and dropped, at most, before a refused connection is closed, so that its client
// reads the answer rather than a reset.
constexpr std::size_t kDrainBytes = 4 * 1024 * 1024;
constexpr auto kDrainTime = std::chrono::milliseconds(500);

const char* reason(int status) {
  switch (status) {
    case 408:
      return "Request Timeout";
    case 413:
      return "Content Too Large";
    case 414:
      return "URI Too Long";
    default:
      return "Request Header Fields Too Large";  // 431
  }
}

// Threads started as connections need them, up to a limit; a connection beyond it waits for one.
class ConnectionThreads : public httplib::TaskQueue {
 public:
  explicit ConnectionThreads(std::size_t limit) : m_limit(limit) {}

  void enqueue(std::function<void()> task) override {
    std::lock_guard lock(m_mutex);
    m_tasks.push_back(std::move(task));
    if (m_tasks.size() > m_idle && m_threads.size() < m_limit) {
      m_threads.emplace_back([this] { work(); });
    } else {
      m_ready.notify_one();
    }
  }

  // Called once, from the thread that enqueues, after its last enqueue.
  void shutdown() override {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

 private:
  void work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      ++m_idle;
      m_ready.wait(lock, [this] { return !m_tasks.empty() || m_stopping; });
      --m_idle;
      if (m_tasks.empty()) return;
      std::function<void()> task = std::move(m_tasks.front());
      m_tasks.pop_front();
      lock.unlock();
      task();
      lock.lock();
    }
  }

  const std::size_t m_limit;
  std::mutex m_mutex;
  std::condition_variable m_ready;
  std::deque<std::function<void()>> m_tasks;
  std::vector<std::thread> m_threads;
  std::size_t m_idle = 0;
  bool m_stopping = false;
};

// One connection as the library reads and writes it, within the request bounds: past them it
// answers the refusal itself and fails every further read and write.
class GuardedStream final : public httplib::Stream {
 public:
  GuardedStream(socket_t socket, const std::atomic<socket_t>& listening, const std::string& name,
                std::chrono::seconds writeTime)
      : m_socket(socket), m_listening(listening), m_name(name), m_writeTime(writeTime) {}

  // Waits at most `idle` for the first byte of the next request; false when none comes, the
  // client has closed or the server stops.
  bool awaitRequest(std::chrono::seconds idle) const {
    if (m_begin < m_end) return true;
    char byte;
    return waitFor(POLLIN, Clock::now() + idle) && recv(m_socket, &byte, 1, MSG_PEEK) == 1;
  }
  void beginRequest() {
    m_deadline = Clock::now() + GuardedServer::kRequestTime;
    m_taken = m_lineLength = 0;
    m_part = Part::Line;
  }
  // The status the request was refused with, 0 while it is not.
  int refusal() const { return m_refusal; }

  // Closes the connection; after a refusal or an unread body, first drops what the client still
  // sends for a moment, so that it reads the answer rather than a reset.
  void close(bool drain) {
    shutdown(m_socket, SHUT_WR);
    const auto until = Clock::now() + kDrainTime;
    char dropped[16 * 1024];
    for (std::size_t total = 0; drain && total < kDrainBytes && waitFor(POLLIN, until);) {
      const ssize_t got = recv(m_socket, dropped, sizeof dropped, 0);
      if (got <= 0) break;
      total += static_cast<std::size_t>(got);
    }
    ::close(m_socket);
  }

  bool is_readable() const override { return m_begin < m_end || waitFor(POLLIN, m_deadline); }
  bool is_writable() const override { return waitFor(POLLOUT, Clock::now() + m_writeTime); }

  ssize_t read(char* data, size_t size) override {
    if (m_refusal != 0) return -1;
    if (size > 0 && m_taken == GuardedServer::kRequestBytes) {
      return refuse(m_part == Part::Line ? 414 : m_part == Part::Headers ? 431 : 413);
    }
    if (m_begin == m_end) {
      if (!waitFor(POLLIN, m_deadline)) return Clock::now() >= m_deadline ? refuse(408) : -1;
      const ssize_t got = recv(m_socket, m_buffer, sizeof m_buffer, 0);
      if (got <= 0) return got;
      m_begin = 0;
      m_end = static_cast<std::size_t>(got);
    }
    const std::size_t n = std::min({size, m_end - m_begin, GuardedServer::kRequestBytes - m_taken});
    std::memcpy(data, m_buffer + m_begin, n);
    follow(data, n);
    m_begin += n;
    m_taken += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* data, size_t size) override {
    for (size_t sent = 0; sent < size;) {
      if (m_refusal != 0 || !is_writable()) return -1;
      const ssize_t n = send(m_socket, data + sent, size - sent, MSG_NOSIGNAL);
      if (n < 0 && errno != EINTR && errno != EAGAIN) return -1;
      sent += static_cast<size_t>(std::max<ssize_t>(n, 0));
    }
    return static_cast<ssize_t>(size);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    address(getpeername, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    address(getsockname, ip, port);
  }
  socket_t socket() const override { return m_socket; }

 private:
  enum class Part { Line, Headers, Body };

  // Waits until the socket is ready for `events`; false at `deadline` or once the server stops.
  bool waitFor(short events, Clock::time_point deadline) const {
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
      if (m_listening == INVALID_SOCKET) return false;
      const auto slice = std::min<Clock::duration>(deadline - now, kStopCheck);
      pollfd ready{m_socket, events, 0};
      const int found = poll(&ready, 1, static_cast<int>(1 + slice / std::chrono::milliseconds(1)));
      if (found > 0) return true;
      if (found < 0 && errno != EINTR) return false;
    }
    return false;
  }

  // Follows the request through its parts as the library takes its bytes.
  void follow(const char* data, size_t size) {
    for (size_t i = 0; i < size && m_part != Part::Body; ++i) {
      if (data[i] != '\n') {
        m_lineLength += data[i] != '\r';
      } else {
        m_part = m_part == Part::Headers && m_lineLength == 0 ? Part::Body : Part::Headers;
        m_lineLength = 0;
      }
    }
  }

  ssize_t refuse(int status) {
    m_refusal = status;
    const std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) +
                               "\r\nServer: " + m_name +
                               "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    [[maybe_unused]] const ssize_t sent =
        send(m_socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return -1;
  }

  void address(int (*name)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    char host[NI_MAXHOST], service[NI_MAXSERV];
    if (name(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
        getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
      ip = host;
      port = std::atoi(service);
    }
  }

  const socket_t m_socket;
  const std::atomic<socket_t>& m_listening;
  const std::string& m_name;
  const std::chrono::seconds m_writeTime;
  Clock::time_point m_deadline;
  char m_buffer[4096];
  std::size_t m_begin = 0, m_end = 0;  // unread bytes in m_buffer
  std::size_t m_taken = 0;             // bytes of the request the library has read
  std::size_t m_lineLength = 0;
  Part m_part = Part::Line;
  int m_refusal = 0;
};

// The connection this thread serves: the library logs the answer it tried to send after a refusal
// too, and that answer never went out.
thread_local const GuardedStream* t_stream = nullptr;

}  // namespace

GuardedServer::GuardedServer(const std::string& name, Log log)
    : m_name(name), m_log(std::move(log)) {
  set_default_headers({{"Server", name}});
  set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    if (t_stream == nullptr || t_stream->refusal() == 0)
      m_log(req.remote_addr, req.method + " " + req.target, res.status, res.body.size());
  });
  new_task_queue = [] { return new ConnectionThreads(kThreads); };
}

int GuardedServer::bind(const std::string& host, int port) {
  const int bound = port == 0 ? bind_to_any_port(host) : bind_to_port(host, port) ? port : -1;
  if (bound > 0 && ::listen(svr_sock_, SOMAXCONN) != 0) return -1;
  return bound;
}

bool GuardedServer::announcesBody(const httplib::Request& request) {
  return request.has_header("Transfer-Encoding") ||
         (request.has_header("Content-Length") &&
          request.get_header_value("Content-Length") != "0");
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
  GuardedStream stream(sock, svr_sock_, m_name, std::chrono::seconds(write_timeout_sec_));
  t_stream = &stream;
  bool served = false, closing = false, drain = false;
  for (std::size_t count = 1; !closing && count <= keep_alive_max_count_ &&
                              stream.awaitRequest(std::chrono::seconds(keep_alive_timeout_sec_));
       ++count) {
    stream.beginRequest();
    bool closed = false, body = false;
    served = process_request(stream, count == keep_alive_max_count_, closed,
                             [&body](httplib::Request& request) { body = announcesBody(request); });
    if (stream.refusal() != 0) {
      std::string remote;
      int port = 0;
      stream.get_remote_ip_and_port(remote, port);
      m_log(remote, "-", stream.refusal(), 0);
    }
    drain = body || stream.refusal() != 0;
    closing = !served || closed || drain;
  }
  stream.close(drain);
  t_stream = nullptr;
  return served;
}

}  // namespace korvane::listing
