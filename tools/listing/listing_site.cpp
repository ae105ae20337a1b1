#include "listing_site.h"

#include "guarded_server.h"
#include "maker_pages.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ostream>
#include <sys/socket.h>

namespace korvane::listing {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

// Request targets come from the network: keep control bytes out of the terminal.
std::string printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  return out;
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// An address as a Host header writes it.
std::string hostName(const std::string& address) {
  return address.find(':') == std::string::npos ? lowerCase(address) : "[" + address + "]";
}

}  // namespace

ListingSite::ListingSite(SoldPricesPage soldPricesPage, std::string footer, std::ostream& log)
    : m_soldPricesPage(std::move(soldPricesPage)),
      m_footer(std::move(footer)),
      m_log(log),
      // Named in every answer's Server header: the launcher tells this service from another
      // program on its port by it.
      m_server(std::make_unique<GuardedServer>(
          "korvane-listing",
          [this](const std::string& remote, const std::string& request, int status, size_t bytes) {
            logLine(remote + " \"" + printable(request) + "\" " + std::to_string(status) + " " +
                    std::to_string(bytes));
          })) {
  route();
}

ListingSite::~ListingSite() { stop(); }

void ListingSite::route() {
  httplib::Server& server = *m_server;
  server.set_keep_alive_timeout(1);  // so stop() is not held up by an idle client
  // Only SO_REUSEADDR: the library's default also sets SO_REUSEPORT, which would let a second
  // site bind a port that one is already serving on and take half of its requests.
  server.set_socket_options([](socket_t socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });

  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (!isAddressedHere(req)) {
      res.status = 421;  // Misdirected Request
    } else if (GuardedServer::announcesBody(req)) {
      res.status = 413;  // no page takes a body; it is not read
      res.set_header("Connection", "close");
    } else {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    return httplib::Server::HandlerResponse::Handled;
  });
  server.Get("/index.php", [this](const httplib::Request& req, httplib::Response& res) {
    if (req.get_param_value("con") != "sold_prices_street") {
      res.status = 404;
      return;
    }
    // A form sends its blanks as "+", which the query decoding leaves alone.
    std::string postcode = req.get_param_value("postcode");
    std::replace(postcode.begin(), postcode.end(), '+', ' ');
    try {
      res.set_content(m_soldPricesPage(postcode), kHtml);
    } catch (const std::exception& error) {
      // The reason names the database's file: it goes to the log, not to whoever asks.
      logLine("korvane-listing: " + printable(req.target) + ": " + error.what());
      res.status = 500;
      res.set_content("The listing cannot be read; the service's log says why.\n",
                      "text/plain; charset=utf-8");
    }
  });
  server.Get("/", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(homePage(m_footer), kHtml);
  });
  server.Get("/links.html", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(linksPage(m_footer), kHtml);
  });
  server.Get("/mortgage-tools.html", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(mortgageToolsPage(m_footer), kHtml);
  });
  server.set_error_handler([this](const httplib::Request&, httplib::Response& res) {
    if (res.status == 404) res.set_content(notFoundPage(m_footer), kHtml);
  });
}

bool ListingSite::isAddressedHere(const httplib::Request& req) const {
  // No browser leaves Host out, so a request without one is no page's doing.
  if (!req.has_header("Host")) return true;
  if (req.get_header_value_count("Host") > 1) return false;
  const std::string host = lowerCase(req.get_header_value("Host"));
  const std::string port = ":" + std::to_string(m_port);
  for (const std::string& name : {std::string("127.0.0.1"), std::string("localhost"),
                                  hostName(m_bind), hostName(req.local_addr)}) {
    if (host == name || host == name + port) return true;
  }
  return false;
}

void ListingSite::logLine(const std::string& line) {
  std::lock_guard lock(m_logMutex);
  m_log << line << std::endl;
}

int ListingSite::start(const std::string& host, int port) {
  if (m_thread.joinable()) return -1;
  const int bound = m_server->bind(host, port);
  if (bound <= 0) return -1;
  m_bind = host;
  m_port = bound;
  m_listenEnded = false;
  m_thread = std::thread([this] {
    m_server->listen_after_bind();
    m_listenEnded = true;
  });
  // stop() is only heard once the server runs; wait for that so an early stop() cannot be lost.
  while (!m_server->is_running() && !m_listenEnded) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return bound;
}

bool ListingSite::isRunning() const { return m_thread.joinable() && m_server->is_running(); }

void ListingSite::stop() {
  if (!m_thread.joinable()) return;
  m_server->stop();
  m_thread.join();
}

}  // namespace korvane::listing
