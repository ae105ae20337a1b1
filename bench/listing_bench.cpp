// The listing service against plain baselines measured in the same run.
//
// Import: korvane-listing import of a generated Price Paid file of one and of four million rows
// against the SQLite shell's `.import --csv` of the same file into a plain table. Prints rows per
// second and the peak resident memory of each child process. Goals: our rate at least the shell's,
// with the table's key built; our peak memory the same for both sizes within 16 MiB.
//
// Pages: the sold-prices page of post codes in the four-million-row database against the same
// server answering a constant page, each asked the same bounded number of times over loopback.
// Prints requests per second and the 99th percentile. Goals: at least half the constant page's
// rate; a 99th percentile under 2 ms.
//
//   listing_bench [FOLDER [--pages]]
//
// The files go to FOLDER (default: a new folder in the temporary one); --pages measures only the
// pages, from the database an earlier run left in FOLDER.

#include "listing/listing_db.h"
#include "listing/listing_site.h"
#include "listing/sold_prices.h"
#include "listing/sold_prices_page.h"
#include "listing/sqlite.h"

#include <fcntl.h>
#include <httplib.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kPostcodes = 400'000;
constexpr int kRequests = 20'000;

// The post code numbered n: "AB10 0AA" to "ZZ99 9ZZ" without repeats below 608,400.
std::string postcode(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%c%d %d%c%c", 'A' + n % 26, 'A' + n / 26 % 26,
                n / 676 % 90 + 10, n / 60840 % 10, 'A' + n / 7 % 26, 'A' + n / 11 % 26);
  return text;
}

// `rows` sales in the Price Paid format, spread over kPostcodes post codes, three streets each,
// dates over six years, in no particular order.
void writePricePaid(const fs::path& file, long rows) {
  std::FILE* out = std::fopen(file.c_str(), "w");
  std::uint64_t random = 88172645463325252u;
  for (long i = 0; i < rows; ++i) {
    random ^= random << 13, random ^= random >> 7, random ^= random << 17;
    const int code = static_cast<int>(random % kPostcodes);
    const int day = static_cast<int>((random >> 20) % (6 * 365));
    std::fprintf(out,
                 "\"{%08X-0000-4000-8000-%012lX}\",\"%d\",\"%d-%02d-%02d 00:00\",\"%s\",\"%c\","
                 "\"N\",\"F\",\"%d\",\"\",\"STREET %d\",\"\",\"TOWN\",\"DISTRICT\",\"COUNTY\","
                 "\"%c\",\"A\"\r\n",
                 static_cast<unsigned>(random >> 32), i, 90000 + static_cast<int>(random % 900000),
                 2019 + day / 365, day % 365 / 31 % 12 + 1, day % 28 + 1, postcode(code).c_str(),
                 "DSTF"[random >> 40 & 3], static_cast<int>(random >> 44) % 200 + 1,
                 code % 50 * 3 + static_cast<int>(random >> 50) % 3,
                 (random >> 56) % 10 == 0 ? 'B' : 'A');
  }
  std::fclose(out);
}

struct ChildRun {
  bool ok = false;
  double seconds = 0;
  long peakKiB = 0;
};

// Runs the command with its output thrown away; its time and the peak resident memory it reached.
ChildRun runChild(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto started = Clock::now();
  pid_t pid = -1;
  ChildRun run;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKiB = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.seconds = std::chrono::duration<double>(Clock::now() - started).count();
  return run;
}

// Imports `rows` generated rows both ways; returns our peak memory in KiB, or -1.
long benchImport(const fs::path& folder, long rows, const fs::path& ours) {
  const fs::path file = folder / "pp.csv";
  writePricePaid(file, rows);
  fs::remove(ours);
  const ChildRun korvane =
      runChild({KORVANE_LISTING_PROGRAM, "import", file.string(), "--db", ours.string()});
  const fs::path plain = folder / "plain.sqlite";
  fs::remove(plain);
  std::string columns;
  for (int i = 1; i <= 16; ++i) columns += (i > 1 ? ",c" : "c") + std::to_string(i);
  const ChildRun shell =
      runChild({"sqlite3", plain.string(), "CREATE TABLE prices(" + columns + ")",
                ".import --csv " + file.string() + " prices"});
  fs::remove(plain);
  fs::remove(file);

  auto line = [rows](const char* who, const ChildRun& run) {
    if (!run.ok) return std::printf("  %-28s failed\n", who), void();
    std::printf("  %-28s %10.0f rows/s  %6.1f s  peak %7.1f MiB\n", who, rows / run.seconds,
                run.seconds, run.peakKiB / 1024.0);
  };
  std::printf("import of %ld rows\n", rows);
  line("korvane-listing import", korvane);
  line("sqlite3 .import --csv", shell);
  if (korvane.ok) {
    const auto db = korvane::listing::openForReading(ours.string());
    const auto kept = db->single("SELECT count(*) FROM sales");
    if (kept != rows)
      std::printf("  the listing holds %lld rows, not all\n", static_cast<long long>(kept));
  }
  if (korvane.ok && shell.ok) {
    const double ratio = shell.seconds / korvane.seconds;
    std::printf("  rate / sqlite3 shell's rate  %.2f (goal >= 1: %s)\n", ratio,
                ratio >= 1 ? "met" : "NOT met");
  }
  return korvane.ok ? korvane.peakKiB : -1;
}

struct Served {
  double perSecond = 0, p99Ms = 0;
  int failed = 0;
};

// Asks the site for the pages in turn, kRequests times, each on a connection of its own as the
// program asks.
Served benchPages(korvane::listing::ListingSite& site, const std::vector<std::string>& paths) {
  const int port = site.start("127.0.0.1", 0);
  httplib::Client client("127.0.0.1", port);
  std::vector<double> latencies;
  latencies.reserve(kRequests);
  Served served;
  const auto started = Clock::now();
  for (int i = 0; i < kRequests; ++i) {
    const auto asked = Clock::now();
    const auto result = client.Get(paths[i % paths.size()]);
    latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
    if (!result || result->status != 200) ++served.failed;
  }
  served.perSecond = kRequests / std::chrono::duration<double>(Clock::now() - started).count();
  std::sort(latencies.begin(), latencies.end());
  served.p99Ms = latencies[latencies.size() * 99 / 100];
  site.stop();
  return served;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const bool ownFolder = argc < 2;
  const fs::path folder =
      ownFolder ? fs::temp_directory_path() / ("korvane-listing-bench-" + std::to_string(getpid()))
                : fs::path(argv[1]);
  fs::create_directories(folder);
  const fs::path database = folder / "listing.sqlite";

  const bool pagesOnly = argc > 2 && std::string(argv[2]) == "--pages";
  const long peak1 = pagesOnly ? -1 : benchImport(folder, 1'000'000, database);
  const long peak4 = pagesOnly ? -1 : benchImport(folder, 4'000'000, database);
  if (peak1 > 0 && peak4 > 0) {
    const double growth = (peak4 - peak1) / 1024.0;
    std::printf("peak memory, 4M rows less 1M rows  %.1f MiB (goal within 16: %s)\n", growth,
                std::abs(growth) <= 16 ? "met" : "NOT met");
  }

  std::vector<std::string> paths;
  for (int n = 0; n < 1000; ++n) {
    std::string code = postcode(n * 397 % kPostcodes);
    code.erase(code.find(' '), 1);
    paths.push_back("/index.php?con=sold_prices_street&cCode=EW&postcode=" + code);
  }
  korvane::listing::SoldPrices prices(database.string(), 5);
  const std::string constant = korvane::listing::pageForPostcode(prices, postcode(0), "");
  if (constant.find("Show <b>") == std::string::npos) std::printf("the listing has no pages\n");
  std::ostream quiet(nullptr);  // the request log costs both sites the same: nothing
  korvane::listing::ListingSite fixedSite([&](std::string_view) { return constant; }, "", quiet);
  korvane::listing::ListingSite listingSite(
      [&](std::string_view code) { return korvane::listing::pageForPostcode(prices, code, ""); },
      "", quiet);
  const Served fixed = benchPages(fixedSite, paths);
  const Served pages = benchPages(listingSite, paths);
  std::printf("pages from the 4M-row listing, %d requests each\n", kRequests);
  std::printf("  %-28s %8.0f requests/s  p99 %.3f ms  failed %d\n", "constant page",
              fixed.perSecond, fixed.p99Ms, fixed.failed);
  std::printf("  %-28s %8.0f requests/s  p99 %.3f ms  failed %d\n", "post code pages",
              pages.perSecond, pages.p99Ms, pages.failed);
  const double ratio = pages.perSecond / fixed.perSecond;
  std::printf("  rate / constant page's rate  %.2f (goal >= 0.5: %s)\n", ratio,
              ratio >= 0.5 ? "met" : "NOT met");
  std::printf("  p99 %.3f ms (goal < 2 ms: %s)\n", pages.p99Ms,
              pages.p99Ms < 2 ? "met" : "NOT met");

  if (ownFolder) fs::remove_all(folder);
  return 0;
}
