#pragma once

// Where the sample site finds its data set when no folder is named on its command line.

#include <filesystem>

namespace korvane::listing {

// The data folder installed beside the program (<program folder>/../share/korvane/sample-data)
// when it exists, otherwise `builtIn` (the source tree's data folder the build compiled in).
std::filesystem::path defaultDataFolder(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& builtIn);

}  // namespace korvane::listing
