#include "text_file.h"

#include "util/unique_fd.h"

#include <fcntl.h>

#include <string>

namespace korvane {
namespace {

// The file's lines, each ended by CR LF; see LoadText for what ends a line.
std::string linesWithCrLf(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + 2);
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') continue;
    text.append(bytes.substr(lineStart, i - lineStart)).append("\r\n");
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    lineStart = i + 1;
  }
  if (lineStart < bytes.size()) text.append(bytes.substr(lineStart)).append("\r\n");
  return text;
}

}  // namespace

bool LoadText(RunBuffer& buffer, std::string_view field, const std::filesystem::path& file,
              MessageBoxes& boxes) {
  UniqueFd in(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  std::string bytes;
  bool readWhole = in.valid();
  char chunk[65536];
  while (readWhole) {
    const long got = readSome(in.get(), chunk, sizeof chunk);
    if (got < 0) readWhole = false;
    if (got <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  if (!readWhole) {
    boxes.show("File Not Found", "Error", MessageIcon::None);
    return false;
  }
  buffer.setText(field, linesWithCrLf(bytes));
  return true;
}

}  // namespace korvane
