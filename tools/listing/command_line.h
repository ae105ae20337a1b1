#pragma once

// korvane-listing's command line.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvane::listing {

struct CommandLine {
  enum class Command { Help, Import, Serve };
  Command command = Command::Help;
  std::vector<std::filesystem::path> files;       // import
  std::optional<std::filesystem::path> database;  // --db
  int port = 8631;                                // serve --port
  std::string bind = "127.0.0.1";                 // serve --bind
  int years = 5;                                  // serve --years
};

// Reads the arguments that follow the program's name. Throws std::invalid_argument saying what
// is wrong: an unknown command or option, a missing or bad value, import without files.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage text for --help and for a bad command line.
const char* usageText();

}  // namespace korvane::listing
