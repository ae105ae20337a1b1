#pragma once

// Appending the downloaded page to a work file.

#include "base/message_boxes.h"

#include <filesystem>
#include <string_view>

namespace korvane {

// Appends text and then CR LF to the file, creating it when absent; earlier content stays in
// front. Returns true when the file exists afterwards. When the file cannot be opened or written,
// shows "Error " + errno + CR LF + its description (title "Error", critical icon) and returns
// false; when it cannot be found after writing, shows "Unexpectd error occured. File could not be
// saved" (title "Sorry", critical icon) and returns false.
bool SaveTextFile(std::string_view text, const std::filesystem::path& path, MessageBoxes& boxes);

// True when path names a file whose length the file system can tell (0 included); false for any
// failure: a missing file, a folder, a device.
bool FileIsPresent(const std::filesystem::path& path);

}  // namespace korvane
