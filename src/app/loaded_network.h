#pragma once

// valdrin's network access, loaded from the module korvane-network.so the first time a run asks
// for a page or a browser pane loads an address. Until then the program has not loaded Qt Network
// (nor the Kerberos and proxy libraries it pulls in), which keeps the start-up short.
//
// The module is found through the program's run path: beside the build's own copy, or in
// lib/korvane/ under the installation prefix. When it cannot be loaded, the reason goes to
// standard error once and every page comes back empty, as when the network is down.

#include "front/run_ports.h"

#include <memory>
#include <string>

namespace korvane {

class Network;

class LoadedNetwork {
 public:
  static constexpr const char* kModule = "korvane-network.so";

  explicit LoadedNetwork(std::string module = kModule);
  ~LoadedNetwork();
  LoadedNetwork(const LoadedNetwork&) = delete;
  LoadedNetwork& operator=(const LoadedNetwork&) = delete;

  // The module's network, loading it on the first call; nullptr when it cannot be loaded.
  Network* network();

  // A page source that fetches through the module.
  PageSource& pages();
  // A new browser pane that loads through the module; its pane there is made on first use.
  std::unique_ptr<BrowserPane> newBrowserPane();

 private:
  class Pages;
  class Pane;

  std::string m_module;
  bool m_tried = false;
  Network* m_network = nullptr;
  std::unique_ptr<Pages> m_pages;
};

}  // namespace korvane
