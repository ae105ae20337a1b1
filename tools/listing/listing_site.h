#pragma once

// The listing and maker's site over HTTP: the sold-prices page, the maker's pages, 404 for anything
// else, one log line per request.

#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace korvane::listing {

class GuardedServer;

class ListingSite {
 public:
  // The whole sold-prices page for a post code as it was asked for. Called from the server's
  // threads at once; an exception it throws answers the request with status 500.
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
  void logLine(const std::string& line);

  SoldPricesPage m_soldPricesPage;
  std::string m_footer;
  std::ostream& m_log;
  std::mutex m_logMutex;
  std::unique_ptr<GuardedServer> m_server;
  std::atomic<bool> m_listenEnded = false;
  std::thread m_thread;
};

}  // namespace korvane::listing
