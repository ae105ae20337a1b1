#include "line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>

namespace korvane::listing {
namespace {

std::runtime_error fileError(const std::filesystem::path& file, const char* what, int error) {
  return std::runtime_error(displayName(file) + ": " + what + ": " + std::strerror(error));
}

}  // namespace

std::string displayName(const std::filesystem::path& file) {
  return file == "-" ? "standard input" : file.string();
}

LineReader::LineReader(const std::filesystem::path& file)
    : m_file(file), m_buffer(kLongestLine + 1) {
  m_fd = file == "-" ? ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                     : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) throw fileError(file, "cannot be read", errno);
  struct stat info {};
  if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(m_fd);
    throw fileError(file, "cannot be read", EISDIR);
  }
  if (S_ISREG(info.st_mode)) m_size = static_cast<std::uint64_t>(info.st_size);
}

LineReader::~LineReader() { ::close(m_fd); }

// Moves the unread bytes to the front of the buffer and reads once behind them.
void LineReader::fill() {
  std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
  m_end -= m_begin;
  m_begin = 0;
  while (true) {
    const ssize_t got = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw fileError(m_file, "read failed", errno);
    if (got == 0) m_eof = true;
    m_end += static_cast<std::size_t>(got);
    return;
  }
}

bool LineReader::next(std::string_view& line) {
  while (true) {
    const char* start = m_buffer.data() + m_begin;
    const std::size_t available = m_end - m_begin;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
    const bool overlong = !newline && available >= kLongestLine;
    if (!newline && !overlong && !m_eof) {
      fill();
      continue;
    }
    if (!newline && available == 0) return false;
    const std::size_t length =
        newline ? static_cast<std::size_t>(newline - start) : std::min(available, kLongestLine);
    const std::size_t consumed = length + (newline ? 1 : 0);
    m_begin += consumed;
    m_offset += consumed;
    const bool continuation = m_skipping;
    m_skipping = overlong;
    if (continuation) continue;

    m_tooLong = overlong;
    line = std::string_view(start, length);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (++m_lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    return true;
  }
}

}  // namespace korvane::listing
