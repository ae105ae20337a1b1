#pragma once

// The run's page source over the real HTTP download.

#include "front/run_ports.h"

#include <string>

namespace korvane {

class FetchPageSource final : public PageSource {
 public:
  // FetchUrlText(url): the body for any status, "" when the page cannot be fetched; shows nothing.
  std::string fetch(const std::string& url) override;
};

}  // namespace korvane
