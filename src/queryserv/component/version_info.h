#pragma once

#include <cstdint>

namespace korvane::component {

// A component library's version resource, exported by the library as the data symbol
// DllVersionInfo so that a client can read it after dlopen.
struct VersionInfo {
  std::uint16_t fileVersion[4];  // major, minor, build, revision
  const char* productName;
  const char* internalName;
  const char* comments;
};

}  // namespace korvane::component
