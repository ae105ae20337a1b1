#pragma once

// Opens a web address in a new browser window; behind an interface so that tests can record the
// addresses instead of starting a browser.

#include <string_view>

namespace korvane {

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Opens the address (Windows-1252 bytes) in a new browser window and keeps no reference to it.
  // A browser that cannot be started is not reported.
  virtual void open(std::string_view address) = 0;
};

}  // namespace korvane
