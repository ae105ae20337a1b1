#pragma once

// The program's network access as one object. valdrin reaches it through LoadedNetwork, which
// loads it (and Qt Network with the libraries that come with it) when a run first needs it, not
// while the program starts.

#include "front/run_ports.h"

#include <memory>
#include <string>

namespace korvane {

class Network {
 public:
  virtual ~Network() = default;
  // FetchUrlText(url): the page at url, or empty text when it cannot be fetched.
  virtual std::string fetchUrlText(const std::string& url) = 0;
  // A new HiddenPane.
  virtual std::unique_ptr<BrowserPane> newBrowserPane() = 0;
};

}  // namespace korvane

// The entry point of the network module: its one Network, alive until the program ends.
extern "C" korvane::Network* korvane_network();
