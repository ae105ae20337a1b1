// The network module, korvane-network.so: the page download and the hidden browser panes behind
// the Network interface. It shares the program's own state (the program-end signal) by using the
// program's exported symbols instead of a copy of its own.

#include "net/fetch.h"
#include "net/network.h"
#include "platform/hidden_pane.h"

namespace korvane {
namespace {

class QtNetwork final : public Network {
 public:
  std::string fetchUrlText(const std::string& url) override { return FetchUrlText(url); }
  std::unique_ptr<BrowserPane> newBrowserPane() override { return std::make_unique<HiddenPane>(); }
};

}  // namespace
}  // namespace korvane

extern "C" __attribute__((visibility("default"))) korvane::Network* korvane_network() {
  static korvane::QtNetwork network;
  return &network;
}
