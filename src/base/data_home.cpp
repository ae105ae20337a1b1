#include "data_home.h"

#include <cstdlib>

namespace korvane {
namespace {

std::filesystem::path absoluteFolder(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return {};
  std::filesystem::path folder = value;
  return folder.is_absolute() ? folder : std::filesystem::path();
}

}  // namespace

std::filesystem::path dataHome() {
  if (std::filesystem::path xdg = absoluteFolder("XDG_DATA_HOME"); !xdg.empty()) return xdg;
  const std::filesystem::path home = absoluteFolder("HOME");
  return home.empty() ? home : home / ".local" / "share";
}

}  // namespace korvane
