#pragma once

// What every harness needs: a check that stops the process on a broken invariant (libFuzzer then
// saves the input; the replay test fails), and a reader that turns the fuzzer's bytes into the
// typed arguments of the routine under test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

// Stops the process with the broken invariant's text when cond is false.
#define FUZZ_CHECK(cond)                                                                \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace korvane::fuzz {

// Reads values from the front of the input; once it is used up every read gives zero or empty.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : m_rest(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t byte() {
    if (m_rest.empty()) return 0;
    const auto value = static_cast<std::uint8_t>(m_rest.front());
    m_rest.remove_prefix(1);
    return value;
  }
  template <class Integer>
  Integer integer() {
    Integer value{};
    const std::size_t n = std::min(sizeof value, m_rest.size());
    if (n > 0) std::memcpy(&value, m_rest.data(), n);  // data() may be null once used up
    m_rest.remove_prefix(n);
    return value;
  }
  // The text up to the next terminator byte (or the end); the terminator is consumed.
  std::string_view textUntil(char terminator = '\0') {
    const std::size_t end = m_rest.find(terminator);
    const std::string_view text = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    return text;
  }
  std::string_view rest() {
    const std::string_view text = m_rest;
    m_rest = {};
    return text;
  }
  bool empty() const { return m_rest.empty(); }

 private:
  std::string_view m_rest;
};

// A folder of the fuzzing session's own, in memory when /dev/shm is there; removed at exit.
class SessionFolder {
 public:
  explicit SessionFolder(const char* prefix) {
    namespace fs = std::filesystem;
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string name = (base / (std::string(prefix) + "-XXXXXX")).string();
    FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
    m_path = name;
  }
  ~SessionFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  SessionFolder(const SessionFolder&) = delete;
  SessionFolder& operator=(const SessionFolder&) = delete;
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

// True when every byte of part occurs in whole in the same order (not necessarily adjacent).
inline bool isSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (char c : part) {
    at = whole.find(c, at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

}  // namespace korvane::fuzz
