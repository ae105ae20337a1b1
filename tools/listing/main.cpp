// korvane-listing [--port N] [--bind ADDR] [--data DIR]: serves the sample listing until
// SIGINT or SIGTERM. The first line on standard output is the port it listens on.

#include "data_folder.h"
#include "sales_data.h"
#include "listing_site.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

namespace {

int usage(std::string_view problem) {
  std::cerr << "korvane-listing: " << problem << "\n"
            << "usage: korvane-listing [--port N] [--bind ADDR] [--data DIR]\n"
            << "  --port N     port to listen on, 0 for any free port (default 8631)\n"
            << "  --bind ADDR  address to listen on (default 127.0.0.1)\n"
            << "  --data DIR   folder of the sales CSV files\n";
  return 2;
}

bool parsePort(std::string_view text, int& port) {
  auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), port);
  return status == std::errc() && end == text.data() + text.size() && port >= 0 && port <= 65535;
}

std::filesystem::path programFolder() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  int port = 8631;
  std::string host = "127.0.0.1";
  std::filesystem::path dataFolder =
      korvane::listing::defaultDataFolder(programFolder(), KORVANE_SAMPLE_DATA_DIR);

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      usage("serves the bundled sold-prices listing and the maker's pages");
      return 0;
    }
    if (i + 1 >= argc) return usage(std::string(arg) + ": unknown option or missing value");
    const std::string_view value = argv[++i];
    if (arg == "--port") {
      if (!parsePort(value, port)) return usage("--port needs a number from 0 to 65535");
    } else if (arg == "--bind") {
      host = value;
    } else if (arg == "--data") {
      dataFolder = value;
    } else {
      return usage(std::string(arg) + ": unknown option");
    }
  }

  korvane::listing::SalesData data;
  try {
    data = korvane::listing::SalesData::load(dataFolder);
  } catch (const std::exception& error) {
    std::cerr << "korvane-listing: " << error.what() << "\n";
    return 1;
  }

  // Signals are taken by sigwait below; blocking them before the server threads start keeps them
  // from landing on one of those threads.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  korvane::listing::ListingSite site(data, std::cerr);
  const int bound = site.start(host, port);
  if (bound < 0) {
    std::cerr << "korvane-listing: cannot listen on " << host << ":" << port << "\n";
    return 1;
  }
  std::cout << bound << std::endl;
  std::cerr << "korvane-listing: " << data.streets().size() << " post codes from "
            << dataFolder.string() << ", serving http://" << host << ":" << bound << "/\n";

  const timespec tick{0, 200'000'000};
  int signal = -1;
  while (signal < 0 && site.isRunning()) signal = sigtimedwait(&stopSignals, nullptr, &tick);
  site.stop();
  if (signal > 0) std::cerr << "korvane-listing: " << strsignal(signal) << ", stopped\n";
  return signal > 0 ? 0 : 1;
}
