#include "support/loopback_server.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace korvane::test {

struct LoopbackServer::Route {
  enum class Kind { Body, Redirect, Stall, CloseMidBody } kind = Kind::Body;
  int status = 200;
  std::string body;  // the body, the first bytes of a stall, or the part sent before closing
  std::string contentType = "text/html";
  std::string location;
  std::size_t announcedLength = 0;
  std::chrono::milliseconds holdFor{0};
};

namespace {

std::unique_ptr<httplib::Server> makeServer(LoopbackServer::Scheme scheme) {
  if (scheme == LoopbackServer::Scheme::Http) return std::make_unique<httplib::Server>();
  const std::string folder = KORVANE_TEST_TLS_DIR;
  return std::make_unique<httplib::SSLServer>((folder + "/cert.pem").c_str(),
                                              (folder + "/key.pem").c_str());
}

}  // namespace

LoopbackServer::LoopbackServer(Scheme scheme) : m_server(makeServer(scheme)), m_scheme(scheme) {
  // Clients may reuse a connection (after a redirect, say); an idle one is dropped soon so that
  // stopping the server never waits long for it.
  m_server->set_keep_alive_timeout(1);
  m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    SeenRequest seen{
        request.method, request.target, request.path, request.get_header_value("User-Agent"), {}};
    for (const auto& [name, value] : request.headers) seen.headers[name] = value;
    {
      std::lock_guard lock(m_mutex);
      m_requests.push_back(seen);
    }
    const std::shared_ptr<const Route> route = routeFor(request.path);
    if (!route) {
      response.status = 404;
      return;
    }
    response.status = route->status;
    switch (route->kind) {
      case Route::Kind::Body:
        // An empty body goes out with "Content-Length: 0"; a provider of no bytes would announce
        // no length and leave the client waiting for the connection to close.
        if (route->body.empty()) {
          response.set_content("", route->contentType);
          break;
        }
        // Sent straight from the route, so a long body is not copied for every request.
        response.set_content_provider(
            route->body.size(), route->contentType,
            [route](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
              return sink.write(route->body.data() + offset,
                                std::min(length, route->body.size() - offset));
            });
        break;
      case Route::Kind::Redirect:
        response.set_redirect(route->location, route->status);
        break;
      case Route::Kind::Stall:
        response.set_content_provider(
            route->announcedLength, route->contentType,
            [this, route](std::size_t offset, std::size_t, httplib::DataSink& sink) {
              if (offset < route->body.size()) {
                sink.write(route->body.data() + offset, route->body.size() - offset);
                return true;
              }
              holdUntil(std::chrono::steady_clock::now() + route->holdFor);
              return false;  // drops the connection
            });
        break;
      case Route::Kind::CloseMidBody:
        response.set_content_provider(
            route->announcedLength, route->contentType,
            [route](std::size_t offset, std::size_t, httplib::DataSink& sink) {
              if (offset < route->body.size()) {
                sink.write(route->body.data() + offset, route->body.size() - offset);
                return true;
              }
              return false;
            });
        break;
    }
  });
  m_port = m_server->bind_to_any_port("127.0.0.1");
  if (m_port <= 0) {
    ADD_FAILURE() << "the loopback server could not bind a port on 127.0.0.1";
    return;
  }
  // The socket already listens: connections made before the thread starts wait in the backlog.
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  // stop() does nothing until the server runs: wait for it, or a quick destruction would hang.
  while (!m_server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(m_mutex);
    m_shuttingDown = true;
  }
  m_released.notify_all();
  m_server->stop();
  if (m_thread.joinable()) m_thread.join();
}

std::string LoopbackServer::url(std::string_view target) const {
  const char* prefix = m_scheme == Scheme::Https ? "https://127.0.0.1:" : "http://127.0.0.1:";
  return prefix + std::to_string(m_port) + std::string(target);
}

void LoopbackServer::serve(const std::string& path, int status, std::string body,
                           std::string contentType) {
  Route route;
  route.status = status;
  route.body = std::move(body);
  route.contentType = std::move(contentType);
  addRoute(path, std::move(route));
}

void LoopbackServer::redirect(const std::string& path, const std::string& location, int status) {
  Route route;
  route.kind = Route::Kind::Redirect;
  route.status = status;
  route.location = location;
  addRoute(path, std::move(route));
}

void LoopbackServer::stall(const std::string& path, std::size_t announcedLength, std::string first,
                           std::chrono::milliseconds holdFor) {
  Route route;
  route.kind = Route::Kind::Stall;
  route.announcedLength = announcedLength;
  route.body = std::move(first);
  route.holdFor = holdFor;
  addRoute(path, std::move(route));
}

void LoopbackServer::closeMidBody(const std::string& path, std::size_t announcedLength,
                                  std::string partial) {
  Route route;
  route.kind = Route::Kind::CloseMidBody;
  route.announcedLength = announcedLength;
  route.body = std::move(partial);
  addRoute(path, std::move(route));
}

std::vector<SeenRequest> LoopbackServer::requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

std::shared_ptr<const LoopbackServer::Route> LoopbackServer::routeFor(
    const std::string& path) const {
  std::lock_guard lock(m_mutex);
  const auto found = m_routes.find(path);
  return found == m_routes.end() ? nullptr : found->second;
}

void LoopbackServer::addRoute(const std::string& path, Route route) {
  std::lock_guard lock(m_mutex);
  m_routes[path] = std::make_shared<const Route>(std::move(route));
}

bool LoopbackServer::holdUntil(std::chrono::steady_clock::time_point until) {
  std::unique_lock lock(m_mutex);
  return m_released.wait_until(lock, until, [this] { return m_shuttingDown; });
}

}  // namespace korvane::test
