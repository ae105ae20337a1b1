#include "support/recording_message_boxes.h"

namespace korvane::test {
namespace {

std::string visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

const char* iconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return "Information";
    case MessageIcon::Critical:
      return "Critical";
    case MessageIcon::None:
      break;
  }
  return "None";
}

}  // namespace

void PrintTo(const ShownBox& box, std::ostream* out) {
  *out << "{\"" << visible(box.text) << "\", \"" << visible(box.title) << "\", "
       << iconName(box.icon) << "}";
}

void RecordingMessageBoxes::show(std::string_view text, std::string_view title, MessageIcon icon) {
  m_shown.push_back({std::string(text), std::string(title), icon});
}

}  // namespace korvane::test
