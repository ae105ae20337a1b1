#pragma once

// korvane-listing serve [--db PATH] [--port N] [--bind ADDR] [--years N]

#include <filesystem>

namespace korvane::listing {

struct CommandLine;

// Serves the named database, else the one at the default place, else the sample in
// `sampleFolder`, until SIGINT or SIGTERM. The first line on standard output is the port.
// Returns the exit status: 0 after a signal, 1 when the database cannot be read or the address
// cannot be bound.
int runServe(const CommandLine& options, const std::filesystem::path& sampleFolder);

}  // namespace korvane::listing
