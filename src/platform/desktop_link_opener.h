#pragma once

// The desktop's own browser, through QDesktopServices.

#include "platform/link_opener.h"

namespace korvane {

class DesktopLinkOpener final : public LinkOpener {
 public:
  // Hands the address to the desktop's default browser; a failure to start one is ignored.
  void open(std::string_view address) override;
};

}  // namespace korvane
