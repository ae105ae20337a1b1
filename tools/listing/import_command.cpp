#include "import_command.h"

#include "command_line.h"
#include "default_paths.h"
#include "import_report.h"
#include "importer.h"
#include "line_reader.h"
#include "listing_db.h"
#include "page_text.h"
#include "sqlite.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>

namespace korvane::listing {
namespace {

std::atomic<int> g_stopSignal = 0;
std::atomic<bool> g_stop = false;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void stopOnSignal(int signal) {
  g_stopSignal = signal;
  g_stop = true;
}

void report(const std::string& text) { std::cerr << "korvane-listing: " << text << "\n"; }

}  // namespace

int runImport(const CommandLine& options) {
  struct sigaction action {};
  action.sa_handler = stopOnSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  const auto started = std::chrono::steady_clock::now();
  const bool terminal = ::isatty(STDERR_FILENO);
  ImportCounts total;
  std::size_t imported = 0;
  auto summary = [&] {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << summaryLine(imported, total, seconds) << std::endl;
  };

  try {
    const std::filesystem::path database = options.database ? *options.database : defaultDatabase();
    const std::filesystem::path folder = std::filesystem::absolute(database).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw std::runtime_error(folder.string() + ": cannot be made: " + error.message());
    const auto db = openForImport(database.string());
    Importer importer(*db, folder);
    importer.stopWhen(&g_stop);

    for (const std::filesystem::path& file : options.files) {
      const std::string name = displayName(file);
      if (terminal) {
        importer.onProgress([&name](const ImportProgress& progress) {
          std::cerr << "\r" << progressLine(name, progress) << "\033[K" << std::flush;
        });
      }
      const ImportResult result = [&] {
        try {
          return importer.importFile(file);
        } catch (...) {
          if (terminal) std::cerr << "\r\033[K";
          throw;
        }
      }();
      if (terminal) std::cerr << "\r\033[K";
      for (const RejectedRow& row : result.firstRejected)
        report(name + ":" + std::to_string(row.line) + ": " + row.reason);
      if (!result.warning.empty()) report("warning: " + result.warning);
      if (result.counts.rejected > result.firstRejected.size()) {
        report(name + ": " + groupThousands(result.counts.rejected - result.firstRejected.size()) +
               " more rows rejected");
      }
      total += result.counts;
      ++imported;
    }
  } catch (const ImportInterrupted& error) {
    summary();
    report(std::string(error.what()) + "; the database is as it was before that file");
    return 128 + g_stopSignal.load();
  } catch (const std::exception& error) {
    summary();
    report(error.what());
    return kFileNotImported;
  }
  summary();
  return total.rejected > 0 ? kRowsRejected : 0;
}

}  // namespace korvane::listing
