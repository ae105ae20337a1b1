#pragma once

// An owned POSIX file descriptor, closed with the object. The file helpers use raw descriptors so
// that failures carry the system's errno and bytes pass through untouched.

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <utility>

namespace korvane {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : m_fd(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      reset();
      m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  // Closes now; returns the errno of a failed close (a delayed write error), 0 otherwise.
  int close() {
    if (m_fd < 0) return 0;
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  void reset() {
    if (m_fd >= 0) ::close(std::exchange(m_fd, -1));
  }
  int m_fd;
};

// Reads up to size bytes, retrying interruptions; returns the count, 0 at the end, -1 on error.
long readSome(int fd, char* data, std::size_t size);

}  // namespace korvane
