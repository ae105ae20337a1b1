#pragma once

// Reads a text file line by line through one fixed buffer, so memory stays flat in the file's size.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::listing {

// The file as messages name it: "standard input" for "-".
std::string displayName(const std::filesystem::path& file);

class LineReader {
 public:
  static constexpr std::size_t kLongestLine = std::size_t{1} << 20;

  // Opens the file (a pipe serves too; "-" is standard input). Throws std::runtime_error naming
  // the file and the reason when it cannot be opened.
  explicit LineReader(const std::filesystem::path& file);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its line end ("\n" or "\r\n"; a UTF-8 byte order mark at the start
  // of the file is dropped too); false at the end of the file. The view stays valid until the
  // next call. A line longer than kLongestLine comes back cut to that length, with tooLong() set,
  // and the rest of it is skipped. Throws std::runtime_error naming the file on a read error.
  bool next(std::string_view& line);

  bool tooLong() const { return m_tooLong; }
  // The number of the last line returned, from 1.
  std::size_t lineNumber() const { return m_lineNumber; }
  // Bytes of the file consumed through the end of the last line returned.
  std::uint64_t offset() const { return m_offset; }
  // The file's size when opened; 0 when it has none (a pipe).
  std::uint64_t size() const { return m_size; }

 private:
  void fill();

  std::filesystem::path m_file;
  int m_fd = -1;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0, m_end = 0;
  bool m_eof = false;
  bool m_tooLong = false;
  bool m_skipping = false;  // dropping the rest of an over-long line
  std::size_t m_lineNumber = 0;
  std::uint64_t m_offset = 0;
  std::uint64_t m_size = 0;
};

}  // namespace korvane::listing
