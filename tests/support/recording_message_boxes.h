#pragma once

// A MessageBoxes that records every box instead of showing it.

#include "base/message_boxes.h"

#include <string>
#include <vector>

namespace korvane::test {

struct ShownBox {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const ShownBox&) const = default;
};

class RecordingMessageBoxes final : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view title, MessageIcon icon) override {
    shown.push_back({std::string(text), std::string(title), icon});
  }
  std::vector<ShownBox> shown;  // in order
};

}  // namespace korvane::test
