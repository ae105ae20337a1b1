#pragma once

// Where components' modal message boxes go. The runtime shows none itself: a host installs a sink
// to receive them (tests record them), and a component shows them its own way when none is
// installed.

#include "base/message_boxes.h"

#include <iosfwd>
#include <string_view>

namespace korvane::component {

// Makes `sink` receive every later box of every component and returns the previous sink; null
// removes it.
MessageBoxes* setMessageBoxSink(MessageBoxes* sink);

// The sink a host has installed, or null.
MessageBoxes* messageBoxSink();

// Writes the box as text: the title, the icon in brackets, the text and "[OK]", one per line.
void writeMessageBox(std::ostream& out, std::string_view text, std::string_view title,
                     MessageIcon icon);

// Boxes written as text to standard error, for a program without windows.
class TextMessageBoxes final : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view title, MessageIcon icon) override;
};

}  // namespace korvane::component
