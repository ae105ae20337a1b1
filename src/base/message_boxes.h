#pragma once

// Modal message boxes, reached through an interface so that logic can show them and tests can
// record them instead of blocking.

#include <string_view>

namespace korvane {

enum class MessageIcon { None, Information, Critical };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal box with one OK button and returns when it is dismissed. text and title are
  // Windows-1252 bytes.
  virtual void show(std::string_view text, std::string_view title, MessageIcon icon) = 0;
};

}  // namespace korvane
