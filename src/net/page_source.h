#pragma once

// Where a run's pages come from: the sold-prices page it reads, and the browser pane that loads
// the same address and is never read. Tests pass fakes; the program passes the Qt Network ones.

#include <string>

namespace korvane {

class PageSource {
 public:
  virtual ~PageSource() = default;
  // One GET of url; returns the body bytes unchanged, or "" when nothing could be fetched.
  // Never shows a message.
  virtual std::string fetch(const std::string& url) = 0;
};

// A browser pane nobody reads (the run buffer's and the report window's WebBrowser1).
class BrowserPane {
 public:
  virtual ~BrowserPane() = default;
  // Starts loading url and returns at once; nothing is shown and the answer is ignored.
  virtual void navigate(const std::string& url) = 0;
};

}  // namespace korvane
