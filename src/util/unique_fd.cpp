#include "unique_fd.h"

#include <cerrno>

namespace korvane {

long readSome(int fd, char* data, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, data, size);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

}  // namespace korvane
