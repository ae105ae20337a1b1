#include "default_paths.h"

#include "base/data_home.h"

#include <stdexcept>

namespace korvane::listing {

std::filesystem::path defaultDatabase() {
  const std::filesystem::path folder = dataHome();
  if (folder.empty()) {
    throw std::runtime_error("neither XDG_DATA_HOME nor HOME is set: name the database with --db");
  }
  return folder / "korvane" / "listing.sqlite";
}

std::filesystem::path sampleDataFolder(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& builtIn) {
  const std::filesystem::path installed =
      programFolder / ".." / "share" / "korvane" / "sample-data";
  std::error_code error;
  if (std::filesystem::is_directory(installed, error)) return installed.lexically_normal();
  return builtIn;
}

}  // namespace korvane::listing
