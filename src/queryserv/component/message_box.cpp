#include "message_box.h"

#include <atomic>
#include <iostream>
#include <ostream>

namespace korvane::component {
namespace {

const char* iconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return "critical";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::None:
      break;
  }
  return "no icon";
}

std::atomic<MessageBoxes*> currentSink{nullptr};

}  // namespace

MessageBoxes* setMessageBoxSink(MessageBoxes* sink) { return currentSink.exchange(sink); }

MessageBoxes* messageBoxSink() { return currentSink.load(); }

void writeMessageBox(std::ostream& out, std::string_view text, std::string_view title,
                     MessageIcon icon) {
  out << title << '\n' << '[' << iconName(icon) << "]\n" << text << '\n' << "[OK]\n";
}

void TextMessageBoxes::show(std::string_view text, std::string_view title, MessageIcon icon) {
  writeMessageBox(std::cerr, text, title, icon);
  std::cerr.flush();
}

}  // namespace korvane::component
