#include "import_report.h"

#include "importer.h"
#include "page_text.h"

#include <cmath>
#include <cstdio>

namespace korvane::listing {
namespace {

// "0:42", "12:05", "1:02:03".
std::string duration(double seconds) {
  const auto whole = static_cast<long>(std::lround(seconds));
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}

}  // namespace

std::string progressLine(std::string_view file, const ImportProgress& progress) {
  std::string line = std::string(file) + ": " + groupThousands(progress.rowsRead) + " rows read";
  if (progress.seconds > 0) {
    line += ", " +
            groupThousands(static_cast<std::uint64_t>(progress.rowsRead / progress.seconds)) +
            " rows/s";
  }
  if (progress.done >= 0) {
    line += ", " + std::to_string(static_cast<int>(progress.done * 100)) + "%";
    if (progress.done > 0.01)
      line += ", " + duration(progress.seconds * (1 - progress.done) / progress.done) + " left";
  }
  return line;
}

std::string summaryLine(std::size_t files, const ImportCounts& counts, double seconds) {
  char time[32];
  std::snprintf(time, sizeof time, "%.1f", seconds);
  return std::to_string(files) + (files == 1 ? " file" : " files") + " imported: rows added " +
         groupThousands(counts.added) + ", replaced " + groupThousands(counts.replaced) +
         ", deleted " + groupThousands(counts.deleted) + ", rejected " +
         groupThousands(counts.rejected) + ", " + time + " s";
}

}  // namespace korvane::listing
