#pragma once

// What every harness needs: a check that stops the process on a broken invariant (libFuzzer then
// saves the input; the replay test fails), a reader that turns the fuzzer's bytes into typed
// arguments, and files in a folder of the session's own.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#define FUZZ_CHECK(cond)                                                                       \
  ((cond) ? void()                                                                             \
          : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond), \
             std::abort()))

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace korvane::fuzz {

namespace fs = std::filesystem;

// Reads values from the front of the input; once it is used up every read gives zero or empty.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : m_rest(reinterpret_cast<const char*>(data), size) {}

  template <class Integer>
  Integer integer() {
    Integer value{};
    const std::size_t n = std::min(sizeof value, m_rest.size());
    if (n > 0) std::memcpy(&value, m_rest.data(), n);  // data() may be null once used up
    m_rest.remove_prefix(n);
    return value;
  }
  std::uint8_t byte() { return integer<std::uint8_t>(); }
  // The text up to the next terminator byte (or the end); the terminator is consumed.
  std::string_view textUntil(char terminator = '\0') {
    const std::string_view text = m_rest.substr(0, m_rest.find(terminator));
    m_rest.remove_prefix(std::min(text.size() + 1, m_rest.size()));
    return text;
  }
  std::string_view rest() { return std::exchange(m_rest, {}); }
  bool empty() const { return m_rest.empty(); }

 private:
  std::string_view m_rest;
};

// The session's own folder, in memory when /dev/shm is there; removed at exit.
inline const fs::path& sessionFolder() {
  static const struct Folder {
    fs::path path;
    ~Folder() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } folder{[] {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string name = (base / "korvane-fuzz-XXXXXX").string();
    FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
    return fs::path(name);
  }()};
  return folder.path;
}

inline std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FUZZ_CHECK(out.good());
}

// True when every byte of part occurs in whole in the same order (not necessarily adjacent).
inline bool isSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (char c : part) {
    if ((at = whole.find(c, at)) == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

}  // namespace korvane::fuzz
