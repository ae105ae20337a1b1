#pragma once

// Where korvane-listing keeps its database and finds its bundled sample when none is named.

#include <filesystem>

namespace korvane::listing {

// $XDG_DATA_HOME/korvane/listing.sqlite, or ~/.local/share/korvane/listing.sqlite when
// XDG_DATA_HOME is unset or not absolute. Throws std::runtime_error when neither it nor HOME is
// set.
std::filesystem::path defaultDatabase();

// The sample data installed beside the program (<program folder>/../share/korvane/sample-data)
// when it exists, otherwise `builtIn` (the source tree's data folder the build compiled in).
std::filesystem::path sampleDataFolder(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& builtIn);

}  // namespace korvane::listing
