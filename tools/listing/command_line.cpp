#include "command_line.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace korvane::listing {
namespace {

int number(std::string_view option, std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    throw std::invalid_argument(std::string(option) + " needs a number from " +
                                std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  if (argc < 1) return line;
  const std::string_view command = argv[0];
  if (command == "import") {
    line.command = CommandLine::Command::Import;
  } else if (command == "serve") {
    line.command = CommandLine::Command::Serve;
  } else if (command == "--help" || command == "-h" || command == "help") {
    return line;
  } else {
    throw std::invalid_argument(std::string(command) + ": unknown command");
  }

  const bool serving = line.command == CommandLine::Command::Serve;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return CommandLine{};
    if (!arg.starts_with("--")) {
      if (serving) throw std::invalid_argument(std::string(arg) + ": serve takes no files");
      line.files.emplace_back(arg);
      continue;
    }
    const bool known =
        arg == "--db" || (serving && (arg == "--port" || arg == "--bind" || arg == "--years"));
    if (!known) throw std::invalid_argument(std::string(arg) + ": unknown option");
    if (i + 1 >= argc) throw std::invalid_argument(std::string(arg) + " needs a value");
    const std::string_view value = argv[++i];
    if (arg == "--db") {
      line.database = std::filesystem::path(value);
    } else if (arg == "--port") {
      line.port = number(arg, value, 0, 65535);
    } else if (arg == "--bind") {
      line.bind = value;
    } else {
      line.years = number(arg, value, 1, 100);
    }
  }
  if (line.command == CommandLine::Command::Import && line.files.empty())
    throw std::invalid_argument("import needs at least one Price Paid file");
  return line;
}

const char* usageText() {
  return "usage: korvane-listing import FILE... [--db PATH]\n"
         "       korvane-listing serve [--db PATH] [--port N] [--bind ADDR] [--years N]\n"
         "  import      reads HM Land Registry Price Paid CSV files (a year, the whole history or\n"
         "              a monthly change file; - for standard input) into the listing database;\n"
         "              exits with 0 when all are imported, 3 when rows were rejected, 1 when a\n"
         "              file could not be imported\n"
         "  serve       answers Korvane's sold-prices requests and the maker's pages; without a\n"
         "              database it serves the bundled sample\n"
         "  --db PATH   the listing database (default $XDG_DATA_HOME/korvane/listing.sqlite)\n"
         "  --port N    port to listen on, 0 for any free port (default 8631)\n"
         "  --bind ADDR address to listen on (default 127.0.0.1)\n"
         "  --years N   the window of sales a page averages, up to the newest sale (default 5)\n";
}

}  // namespace korvane::listing
