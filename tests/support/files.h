#pragma once

// Bytes and files for tests.

#include "util/codepage.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace korvane::test {

// The Windows-1252 bytes of a text written in UTF-8: cp("£250") is "\xA3" "250".
inline std::string cp(std::string_view utf8) { return utf8ToCp1252(utf8); }

// Returns the whole file as bytes; an unreadable file fails the current test and returns "".
std::string readBytes(const std::filesystem::path& path);

// Replaces the file with exactly these bytes; failure fails the current test.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);

// A fresh, empty folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

}  // namespace korvane::test
