#pragma once

// A LinkOpener that records the addresses instead of starting a browser.

#include "platform/link_opener.h"

#include <string>
#include <vector>

namespace korvane::test {

class RecordingLinkOpener final : public LinkOpener {
 public:
  void open(std::string_view address) override { opened.emplace_back(address); }
  // Every address opened so far, in order; each entry is one new browser window.
  std::vector<std::string> opened;
};

}  // namespace korvane::test
