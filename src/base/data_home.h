#pragma once

// The folder that holds the user's data files, as the XDG base directories define it.

#include <filesystem>

namespace korvane {

// $XDG_DATA_HOME when it is an absolute path, otherwise $HOME/.local/share when HOME is an
// absolute path; empty when neither is.
std::filesystem::path dataHome();

}  // namespace korvane
