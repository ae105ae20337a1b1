#pragma once

// A MessageBoxes that records every box instead of showing it.

#include "util/message_boxes.h"

#include <ostream>
#include <string>
#include <vector>

namespace korvane::test {

struct ShownBox {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const ShownBox&) const = default;
};

// Readable failure output: text and title with CR and LF spelled out, and the icon's name.
void PrintTo(const ShownBox& box, std::ostream* out);

class RecordingMessageBoxes final : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view title, MessageIcon icon) override;
  // The boxes shown so far, in order.
  const std::vector<ShownBox>& shown() const { return m_shown; }
  void clear() { m_shown.clear(); }

 private:
  std::vector<ShownBox> m_shown;
};

}  // namespace korvane::test
