#include "markup.h"

#include "base/write_all.h"
#include "util/basic.h"
#include "util/unique_fd.h"

#include <fcntl.h>

#include <cerrno>
#include <ctime>
#include <system_error>

namespace korvane {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void throwFileError(int error) {
  throw Failure(FailureKind::FileError, error, std::system_category().message(error));
}

UniqueFd openOrThrow(const std::filesystem::path& path, int flags) {
  UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC, 0666));
  if (!fd.valid()) throwFileError(errno);
  return fd;
}

// Strips one chunk into out (which has room for the whole chunk) and returns the bytes written.
// insideTag carries over between chunks: it is the only state the stripping needs. Two tight
// loops, one skipping a tag and one copying text up to the next marker, keep the stripper near the
// speed of a plain copy on markup-dense pages; the bytes written are those of the byte rule.
std::size_t stripChunk(const char* __restrict in, std::size_t size, char* __restrict out,
                       bool& insideTag) {
  std::size_t read = 0;
  std::size_t written = 0;
  while (read < size) {
    if (insideTag) {
      // A "<" inside a tag changes nothing; the tag ends at the next ">", which becomes a space.
      while (read < size && in[read] != '>') ++read;
      if (read == size) break;
      ++read;
      out[written++] = ' ';
      insideTag = false;
      continue;
    }
    while (read < size) {
      const char b = in[read];
      if (b == '<' || b == '>') break;
      out[written++] = b;
      ++read;
    }
    if (read == size) break;
    if (in[read] == '<')
      insideTag = true;
    else
      out[written++] = ' ';  // a ">" outside any tag
    ++read;
  }
  return written;
}

void strip(const std::filesystem::path& entity, const std::filesystem::path& comprm) {
  UniqueFd in = openOrThrow(entity, O_RDONLY | O_CREAT);
  // Truncated so that a shorter page leaves nothing of a longer earlier one behind.
  UniqueFd out = openOrThrow(comprm, O_WRONLY | O_CREAT | O_TRUNC);
  static thread_local char inBuffer[kChunk];
  static thread_local char outBuffer[kChunk];
  bool insideTag = false;
  for (;;) {
    const long got = readSome(in.get(), inBuffer, kChunk);
    if (got < 0) throwFileError(errno);
    if (got == 0) break;
    const std::size_t kept =
        stripChunk(inBuffer, static_cast<std::size_t>(got), outBuffer, insideTag);
    if (const int error = writeAll(out.get(), outBuffer, kept)) throwFileError(error);
  }
  if (const int error = out.close()) throwFileError(error);
}

}  // namespace

WorkFolder::WorkFolder(const std::filesystem::path& programFolder)
    : m_folder(programFolder / "property") {}

bool WorkFolder::deleteWorkFiles() const {
  bool gone = true;
  for (const std::filesystem::path& file : {comprmDat(), entityHtml()}) {
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) gone = false;
  }
  return gone;
}

void killhtml(const std::filesystem::path& entity, const std::filesystem::path& comprm) {
  strip(entity, comprm);
}

void killhtml(const std::filesystem::path& entity, const std::filesystem::path& comprm,
              const LinePrinter& printLine) {
  if (printLine) printLine(generalDateTime(std::chrono::system_clock::now()));
  strip(entity, comprm);
  if (printLine) printLine(generalDateTime(std::chrono::system_clock::now()));
}

std::string generalDateTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return std::string(text, length);
}

}  // namespace korvane
