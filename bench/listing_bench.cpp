// The listing service against plain baselines measured in the same run.
//
// Import: korvane-listing import of generated Price Paid files against the SQLite shell's
// `.import --csv` of the same file into an empty plain table: one and four million rows into an
// empty listing, a second file of one million new rows into the four-million-row listing, and a
// change file of 100,000 C and D rows into the four-million-row listing. Prints rows per second
// and the peak resident memory of each child process. Goals: into an empty listing our rate at
// least the shell's, with the table's keys built; into a full one at least half the shell's;
// peak memory at most 256 MiB, and the same for one and four million rows within 16 MiB.
//
// Pages: the sold-prices page of post codes in the four-million-row listing with the change file
// in its recent tables, against the same server answering a constant page, each asked the same
// bounded number of times over loopback. Prints requests per second and the 99th percentile. Goals:
// at least half the constant page's rate; a 99th percentile under 2 ms.
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

// Which rows of a generated file to write.
struct Shape {
  long rows = 0;       // rows generated
  long firstSale = 0;  // added to each row's number in its transaction id
  int every = 1;       // >1: only every n-th row, as a C row (a new price and date) or D in turn
};

// Sales in the Price Paid format, spread over kPostcodes post codes, three streets each, dates
// over six years, in no particular order. The same shape gives the same sales, so a change file
// names sales of the file it changes.
void writePricePaid(const fs::path& file, const Shape& shape) {
  std::FILE* out = std::fopen(file.c_str(), "w");
  std::uint64_t random = 88172645463325252u + static_cast<std::uint64_t>(shape.firstSale);
  for (long i = 0; i < shape.rows; ++i) {
    random ^= random << 13, random ^= random >> 7, random ^= random << 17;
    if (i % shape.every != 0) continue;
    const int code = static_cast<int>(random % kPostcodes);
    const bool changed = shape.every > 1 && i / shape.every % 2 == 0;
    const char status = shape.every == 1 ? 'A' : changed ? 'C' : 'D';
    const int day = static_cast<int>((random >> 20) % (6 * 365) + (changed ? 100 : 0)) % (6 * 365);
    std::fprintf(out,
                 "\"{%08X-0000-4000-8000-%012lX}\",\"%d\",\"%d-%02d-%02d 00:00\",\"%s\",\"%c\","
                 "\"N\",\"F\",\"%d\",\"\",\"STREET %d\",\"\",\"TOWN\",\"DISTRICT\",\"COUNTY\","
                 "\"%c\",\"%c\"\r\n",
                 static_cast<unsigned>(random >> 32), i + shape.firstSale,
                 90000 + static_cast<int>(random % 900000) + (changed ? 1000 : 0), 2019 + day / 365,
                 day % 365 / 31 % 12 + 1, day % 28 + 1, postcode(code).c_str(),
                 "DSTF"[random >> 40 & 3], static_cast<int>(random >> 44) % 200 + 1,
                 code % 50 * 3 + static_cast<int>(random >> 50) % 3,
                 (random >> 56) % 10 == 0 ? 'B' : 'A', status);
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
  // Each run starts with nothing left to write back: a run before it, or the copy of a listing,
  // would otherwise still be writing its pages to disk on the other core.
  ::sync();
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

struct Measured {
  double ratio = -1;  // our rate over the shell's; -1 when either failed
  long peakKiB = -1;  // ours
};

// Imports the generated file both ways, ours into the listing `ours` as it is.
Measured benchImport(const char* what, const fs::path& folder, const Shape& shape,
                     const fs::path& ours, long expectedSales) {
  const fs::path file = folder / "pp.csv";
  writePricePaid(file, shape);
  const long rows = (shape.rows + shape.every - 1) / shape.every;
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
  std::printf("%s: %ld rows\n", what, rows);
  line("korvane-listing import", korvane);
  line("sqlite3 .import --csv", shell);
  if (korvane.ok) {
    const auto db = korvane::listing::openForReading(ours.string());
    const auto kept = db->single("SELECT count(*) FROM sales");
    if (kept != expectedSales)
      std::printf("  the listing holds %lld sales, not %ld\n", static_cast<long long>(kept),
                  expectedSales);
  }
  Measured measured;
  if (korvane.ok) measured.peakKiB = korvane.peakKiB;
  if (korvane.ok && shell.ok) measured.ratio = shell.seconds / korvane.seconds;
  return measured;
}

void printGoal(const char* what, double value, double goal) {
  std::printf("  %s  %.2f (goal >= %g: %s)\n", what, value, goal,
              value >= goal ? "met" : "NOT met");
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
  if (!pagesOnly) {
    const fs::path copy = folder / "listing-4m.sqlite";
    fs::remove(database);
    const Measured one =
        benchImport("into an empty listing", folder, {1'000'000}, database, 1'000'000);
    printGoal("rate / sqlite3 shell's rate", one.ratio, 1);
    fs::remove(database);
    const Measured four =
        benchImport("into an empty listing", folder, {4'000'000}, database, 4'000'000);
    printGoal("rate / sqlite3 shell's rate", four.ratio, 1);
    fs::copy_file(database, copy, fs::copy_options::overwrite_existing);
    const Measured second = benchImport("a second file into the 4M-row listing", folder,
                                        {1'000'000, 10'000'000}, database, 5'000'000);
    printGoal("rate / sqlite3 shell's rate", second.ratio, 0.5);
    const Measured changes = benchImport("C and D rows into the 4M-row listing", folder,
                                         {4'000'000, 0, 40}, copy, 4'000'000 - 50'000);
    printGoal("rate / sqlite3 shell's rate", changes.ratio, 0.5);
    // The pages are read from the changed listing: each query then reads the recent tables too.
    fs::rename(copy, database);
    const long peak = std::max({one.peakKiB, four.peakKiB, second.peakKiB, changes.peakKiB});
    std::printf("peak memory of every import  %.1f MiB (goal <= 256: %s)\n", peak / 1024.0,
                peak <= 256 * 1024 ? "met" : "NOT met");
    if (one.peakKiB > 0 && four.peakKiB > 0) {
      const double growth = (four.peakKiB - one.peakKiB) / 1024.0;
      std::printf("peak memory, 4M rows less 1M rows  %.1f MiB (goal within 16: %s)\n", growth,
                  std::abs(growth) <= 16 ? "met" : "NOT met");
    }
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
  std::printf("pages from the 4M-row listing with its changes, %d requests each\n", kRequests);
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
