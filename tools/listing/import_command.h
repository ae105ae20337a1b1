#pragma once

// korvane-listing import FILE... [--db PATH]

namespace korvane::listing {

struct CommandLine;

// The exit statuses of an import besides 0 (every file imported, no row rejected), 2 (a bad
// command line, see main) and 128 + the signal when SIGINT or SIGTERM stopped it.
inline constexpr int kFileNotImported = 1;  // a file could not be imported; the ones before it were
inline constexpr int kRowsRejected = 3;     // every file imported, but some rows were rejected

// Imports the files in order ("-" reads standard input), one transaction each, showing progress
// on a terminal and ending with one summary line. Stops at the first file that cannot be read,
// holds no Price Paid row or cannot be written to the database. Returns the exit status.
int runImport(const CommandLine& options);

}  // namespace korvane::listing
