#pragma once

// Writing a whole buffer to a POSIX file descriptor.

#include <cstddef>

namespace korvane {

// Writes all of data, retrying short writes and interruptions; returns 0 or the failing errno.
int writeAll(int fd, const char* data, std::size_t size);

}  // namespace korvane
