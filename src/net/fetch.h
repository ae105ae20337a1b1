#pragma once

// Downloading one page over HTTP: the program's page source.

#include "net/page_source.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace korvane {

// One GET per call, agent "vb wininet", no proxy, nothing cached, redirects followed (at most 10),
// TLS certificates verified. User input is held back while it works; windows still repaint.
class PageFetcher final : public PageSource {
 public:
  static constexpr std::chrono::milliseconds kTransferTimeout{30'000};
  static constexpr std::size_t kBodyLimit = std::size_t{64} << 20;

  // transferTimeout: how long the transfer may go without progress; bodyLimit: the largest body
  // accepted, in bytes. Tests shorten both; the program uses the defaults.
  explicit PageFetcher(std::chrono::milliseconds transferTimeout = kTransferTimeout,
                       std::size_t bodyLimit = kBodyLimit);

  // The response body as bytes, for any HTTP status. Returns empty text, and shows nothing, when
  // the address cannot be reached, the transfer stalls or breaks off, the body passes the limit,
  // there are too many redirects, or the program is ending.
  std::string fetch(const std::string& url) override;

 private:
  std::chrono::milliseconds m_transferTimeout;
  std::size_t m_bodyLimit;
};

// PageFetcher().fetch(url): the page at url, or empty text when it cannot be fetched.
std::string FetchUrlText(const std::string& url);

}  // namespace korvane
