#pragma once

#include <iosfwd>
#include <string>

namespace korvane::component {

enum class MessageIcon { None, Critical, Information };

// Where components' modal message boxes go. A host replaces the default to show them its own way
// (tests record them).
class MessageBoxSink {
 public:
  virtual ~MessageBoxSink() = default;
  // Shows a box with one OK button and returns once it has been closed.
  virtual void show(const std::string& title, const std::string& text, MessageIcon icon) = 0;
};

// Makes `sink` receive every later box and returns the previous sink; null restores the default,
// which shows a QMessageBox when a QApplication runs on the calling thread and otherwise writes
// the box to standard error.
MessageBoxSink* setMessageBoxSink(MessageBoxSink* sink);

// Shows a modal box with one OK button through the current sink.
void showMessageBox(const std::string& title, const std::string& text, MessageIcon icon);

// Writes the box as text: the title, the icon in brackets, the text and "[OK]", one per line.
void writeMessageBox(std::ostream& out, const std::string& title, const std::string& text,
                     MessageIcon icon);

}  // namespace korvane::component
