#include "markup.h"

#include "util/basic.h"
#include "util/unique_fd.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
// insideTag carries over between chunks: it is the only state the stripping needs. Runs of text
// between markers are found with memchr and copied whole, which keeps the stripper close to the
// speed of a plain copy; the bytes written are those of the byte-by-byte rule.
std::size_t stripChunk(const char* in, std::size_t size, char* out, bool& insideTag) {
  const char* const end = in + size;
  char* next = out;
  // The next "<" and ">" at or after p, found lazily and reused until p passes them.
  const char* nextOpen = nullptr;
  const char* nextClose = nullptr;
  const auto find = [end](const char* from, char marker) {
    const void* found = std::memchr(from, marker, static_cast<std::size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
  };
  const char* p = in;
  while (p < end) {
    if (nextClose == nullptr || nextClose < p) nextClose = find(p, '>');
    if (insideTag) {
      // A "<" inside a tag changes nothing; the tag ends at the next ">".
      if (nextClose == end) break;
      *next++ = ' ';
      insideTag = false;
      p = nextClose + 1;
      continue;
    }
    if (nextOpen == nullptr || nextOpen < p) nextOpen = find(p, '<');
    const char* const marker = std::min(nextOpen, nextClose);
    std::memcpy(next, p, static_cast<std::size_t>(marker - p));
    next += marker - p;
    if (marker == end) break;
    if (*marker == '<')
      insideTag = true;
    else
      *next++ = ' ';  // a ">" outside any tag
    p = marker + 1;
  }
  return static_cast<std::size_t>(next - out);
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
