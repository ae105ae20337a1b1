#pragma once

// A LinkOpener that records the addresses instead of starting a browser.

#include "platform/link_opener.h"

#include <string>
#include <vector>

namespace korvane::test {

struct RecordingLinkOpener final : LinkOpener {
  std::vector<std::string> opened;  // each one a new browser window
  void open(std::string_view address) override { opened.emplace_back(address); }
};

}  // namespace korvane::test
