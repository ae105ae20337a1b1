#pragma once

// Loading a text file into a field of the run buffer.

#include "base/message_boxes.h"
#include "util/run_buffer.h"

#include <filesystem>
#include <string_view>

namespace korvane {

// Replaces the text of `field` with the file's lines, each followed by CR LF. A line ends at CR
// or CR LF; a lone LF stays inside its line; a last line without an ending still counts; an empty
// file gives empty text. Returns true on success. When the file cannot be opened or read, shows
// "File Not Found" (title "Error", no icon), leaves the field as it was and returns false.
// An unknown field name throws std::out_of_range (a programming error).
bool LoadText(RunBuffer& buffer, std::string_view field, const std::filesystem::path& file,
              MessageBoxes& boxes);

}  // namespace korvane
