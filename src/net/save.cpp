#include "save.h"

#include "base/write_all.h"
#include "util/unique_fd.h"

#include <fcntl.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace korvane {
namespace {

void showFileError(MessageBoxes& boxes, int error) {
  const std::string text =
      "Error " + std::to_string(error) + "\r\n" + std::system_category().message(error);
  boxes.show(text, "Error", MessageIcon::Critical);
}

}  // namespace

bool SaveTextFile(std::string_view text, const std::filesystem::path& path, MessageBoxes& boxes) {
  UniqueFd file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!file.valid()) {
    showFileError(boxes, errno);
    return false;
  }
  // One buffer, one write: the page and its line end land together behind any earlier page.
  std::string bytes;
  bytes.reserve(text.size() + 2);
  bytes.append(text).append("\r\n");
  if (const int error = writeAll(file.get(), bytes.data(), bytes.size())) {
    showFileError(boxes, error);
    return false;
  }
  if (const int error = file.close()) {
    showFileError(boxes, error);
    return false;
  }
  if (!FileIsPresent(path)) {
    boxes.show("Unexpectd error occured. File could not be saved", "Sorry", MessageIcon::Critical);
    return false;
  }
  return true;
}

bool FileIsPresent(const std::filesystem::path& path) {
  std::error_code error;
  (void)std::filesystem::file_size(path, error);
  return !error;
}

}  // namespace korvane
