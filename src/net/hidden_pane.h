#pragma once

// A browser pane that nobody sees: it loads an address with one GET and throws the answer away.

#include "net/page_source.h"

#include <memory>
#include <string>

class QNetworkAccessManager;

namespace korvane {

class HiddenPane final : public BrowserPane {
 public:
  HiddenPane();
  ~HiddenPane() override;
  HiddenPane(const HiddenPane&) = delete;
  HiddenPane& operator=(const HiddenPane&) = delete;

  // Starts one GET of url (no proxy, no cache) and returns at once; the answer, or a failure to
  // get one, is discarded when it arrives. An address that cannot be parsed is ignored. A load
  // still under way when the pane is destroyed is aborted.
  void navigate(const std::string& url) override;

 private:
  std::unique_ptr<QNetworkAccessManager> m_network;
};

}  // namespace korvane
