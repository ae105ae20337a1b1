#pragma once

// Where korvane-listing keeps its database and finds its bundled sample when none is named.

#include <filesystem>

namespace korvane::listing {

// korvane/listing.sqlite in the user's data folder (base/data_home.h). Throws
// std::runtime_error when there is none.
std::filesystem::path defaultDatabase();

// The sample data installed beside the program (<program folder>/../share/korvane/sample-data)
// when it exists, otherwise `builtIn` (the source tree's data folder the build compiled in).
std::filesystem::path sampleDataFolder(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& builtIn);

}  // namespace korvane::listing
