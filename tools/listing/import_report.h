#pragma once

// The texts an import shows: the progress line on a terminal and the closing summary.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::listing {

struct ImportCounts;
struct ImportProgress;

// "pp-2025.csv: 812,345 rows read, 401,234 rows/s, 81%, 0:02 left"; without the share and the
// time left when the share is unknown.
std::string progressLine(std::string_view file, const ImportProgress& progress);

// "2 files imported: rows added 1,000,000, replaced 0, deleted 0, rejected 3, 3.2 s".
std::string summaryLine(std::size_t files, const ImportCounts& counts, double seconds);

}  // namespace korvane::listing
