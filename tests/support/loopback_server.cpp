#include "support/loopback_server.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace korvane::test {

LoopbackServer::LoopbackServer(Scheme scheme) {
  const std::string tls = KORVANE_TEST_TLS_DIR;
  m_server = scheme == Scheme::Http ? std::make_unique<httplib::Server>()
                                    : std::make_unique<httplib::SSLServer>(
                                          (tls + "/cert.pem").c_str(), (tls + "/key.pem").c_str());
  // An idle kept-alive connection is dropped soon, so that stopping never waits long for it.
  m_server->set_keep_alive_timeout(1);
  m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    std::shared_ptr<const Answer> answer;
    {
      std::lock_guard lock(m_mutex);
      m_requests.push_back({request.target, {}});
      for (const auto& [name, value] : request.headers) m_requests.back().headers[name] = value;
      if (const auto found = m_answers.find(request.path); found != m_answers.end())
        answer = found->second;
    }
    if (!answer) {
      response.status = 404;
    } else if (!answer->location.empty()) {
      response.set_redirect(answer->location, answer->status);
    } else if (answer->announced == 0) {
      response.status = answer->status;
      // Sent straight from the answer, so a long body is not copied for every request; an empty
      // one goes out with "Content-Length: 0", which a provider of no bytes would not announce.
      if (answer->body.empty()) {
        response.set_content("", "text/html");
      } else {
        response.set_content_provider(
            answer->body.size(), "text/html",
            [answer](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
              return sink.write(answer->body.data() + offset,
                                std::min(length, answer->body.size() - offset));
            });
      }
    } else {
      response.set_content_provider(
          answer->announced, "text/html",
          [this, answer](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset < answer->body.size())
              return sink.write(answer->body.data() + offset, answer->body.size() - offset);
            std::unique_lock lock(m_mutex);
            m_released.wait_for(lock, answer->holdFor, [this] { return m_stopping; });
            return false;  // drops the connection
          });
    }
  });
  const int port = m_server->bind_to_any_port("127.0.0.1");
  if (port <= 0) {
    ADD_FAILURE() << "the loopback server could not bind a port on 127.0.0.1";
    return;
  }
  m_origin =
      (scheme == Scheme::Http ? "http://127.0.0.1:" : "https://127.0.0.1:") + std::to_string(port);
  m_thread = std::thread([this] { m_server->listen_after_bind(); });
  // stop() does nothing until the server runs: a quick destruction would hang.
  while (!m_server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_released.notify_all();
  m_server->stop();
  if (m_thread.joinable()) m_thread.join();
}

std::string LoopbackServer::url(const std::string& target) const { return m_origin + target; }

void LoopbackServer::serve(const std::string& path, int status, std::string body) {
  std::lock_guard lock(m_mutex);
  m_answers[path] = std::make_shared<const Answer>(Answer{status, std::move(body), {}, 0, {}});
}

void LoopbackServer::redirect(const std::string& path, const std::string& location, int status) {
  std::lock_guard lock(m_mutex);
  m_answers[path] = std::make_shared<const Answer>(Answer{status, {}, location, 0, {}});
}

void LoopbackServer::breakOff(const std::string& path, std::size_t announced, std::string sent,
                              std::chrono::milliseconds holdFor) {
  std::lock_guard lock(m_mutex);
  m_answers[path] =
      std::make_shared<const Answer>(Answer{200, std::move(sent), {}, announced, holdFor});
}

std::vector<SeenRequest> LoopbackServer::requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

}  // namespace korvane::test
