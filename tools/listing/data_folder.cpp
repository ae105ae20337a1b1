#include "data_folder.h"

namespace korvane::listing {

std::filesystem::path defaultDataFolder(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& builtIn) {
  const std::filesystem::path installed =
      programFolder / ".." / "share" / "korvane" / "sample-data";
  std::error_code error;
  if (std::filesystem::is_directory(installed, error)) return installed.lexically_normal();
  return builtIn;
}

}  // namespace korvane::listing
