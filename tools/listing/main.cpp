// korvane-listing: the local sold-prices listing service.
//   korvane-listing import FILE... [--db PATH]
//   korvane-listing serve [--db PATH] [--port N] [--bind ADDR] [--years N]

#include "command_line.h"
#include "default_paths.h"
#include "import_command.h"
#include "serve_command.h"

#include <filesystem>
#include <iostream>
#include <sqlite3.h>
#include <stdexcept>

namespace {

std::filesystem::path programFolder() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  // SQLite's count of the memory it holds takes a lock on every allocation; nothing reads it.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  using korvane::listing::CommandLine;
  CommandLine options;
  try {
    options = korvane::listing::parseCommandLine(argc - 1, argv + 1);
  } catch (const std::invalid_argument& error) {
    std::cerr << "korvane-listing: " << error.what() << "\n" << korvane::listing::usageText();
    return 2;
  }
  switch (options.command) {
    case CommandLine::Command::Import:
      return korvane::listing::runImport(options);
    case CommandLine::Command::Serve:
      return korvane::listing::runServe(
          options, korvane::listing::sampleDataFolder(programFolder(), KORVANE_SAMPLE_DATA_DIR));
    case CommandLine::Command::Help:
      break;
  }
  std::cout << korvane::listing::usageText();
  return 0;
}
