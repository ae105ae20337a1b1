#pragma once

// The listing and maker's site over HTTP: the sold-prices page, the maker's pages, 404 for anything
// else, one log line per request. Only requests addressed to the site are answered: a Host header
// other than 127.0.0.1, localhost, the bound address or the address the request reached (each
// with the bound port, or without a port) gets 421, so that a web page on a name of its own that
// resolves to this machine cannot read the pages. A request with a body gets 413. The bounds on
// size and time that every request meets are GuardedServer's.

#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace httplib {
struct Request;
}

namespace korvane::listing {

class GuardedServer;

class ListingSite {
 public:
  // The whole sold-prices page for a post code as it was asked for. Called from the server's
  // threads at once; an exception it throws answers the request with status 500, and its
  // message, which may name files, goes to the log only.
  using SoldPricesPage = std::function<std::string(std::string_view postcode)>;

  // Serves `soldPricesPage` and the maker's pages with `footer` (plain text) at their foot, and
  // logs every request as one line on `log`, which must outlive the site.
  ListingSite(SoldPricesPage soldPricesPage, std::string footer, std::ostream& log);
  // Stops serving first.
  ~ListingSite();
  ListingSite(const ListingSite&) = delete;
  ListingSite& operator=(const ListingSite&) = delete;

  // Binds `host`:`port` (port 0: any free port) and serves on a thread of its own. Returns the
  // bound port, or -1 when the address cannot be bound or the site is already serving.
  int start(const std::string& host, int port);

  // True from a successful start() until stop() or until serving ends on its own.
  bool isRunning() const;

  // Stops serving and waits for the serving thread to end; does nothing when not serving.
  void stop();

 private:
  void route();
  bool isAddressedHere(const httplib::Request& req) const;
  void logLine(const std::string& line);

  SoldPricesPage m_soldPricesPage;
  std::string m_footer;
  std::ostream& m_log;
  std::mutex m_logMutex;
  std::unique_ptr<GuardedServer> m_server;
  std::string m_bind;  // as start() was given it
  int m_port = 0;      // as bound
  std::atomic<bool> m_listenEnded = false;
  std::thread m_thread;
};

}  // namespace korvane::listing
