#pragma once

// korvane-listing import FILE... [--db PATH]

namespace korvane::listing {

struct CommandLine;

// Imports the files in order, one transaction each, showing progress on a terminal and ending
// with one summary line. Returns the exit status: 0 when every file was imported, 1 when a file
// could not be read or the database written, 128 + the signal when SIGINT or SIGTERM stopped it.
int runImport(const CommandLine& options);

}  // namespace korvane::listing
