// Throughput of the run's file and network hops against plain baselines measured in the same run:
// the markup stripper against a buffered copy of the same file, and the page download against curl
// fetching the same address. Prints the figures, the ratios and the stripper's peak memory.

#include "base/write_all.h"
#include "net/fetch.h"
#include "support/loopback_server.h"
#include "util/markup.h"
#include "util/unique_fd.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace korvane {
namespace {

constexpr std::size_t kPageSize = std::size_t{64} << 20;
constexpr std::size_t kBufferSize = 64 * 1024;  // the stripper's buffer size

std::filesystem::path benchFolder() {
  static const std::filesystem::path folder = [] {
    auto path =
        std::filesystem::temp_directory_path() / ("korvane-io-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// A 64 MiB page that looks like a listing: rows of tags, text and character references.
std::string listingPage() {
  std::string page;
  page.reserve(kPageSize);
  for (int row = 0; page.size() < kPageSize; ++row)
    page += "<tr class=\"row\"><td><a href=\"/street?id=" + std::to_string(row) +
            "\">High Street</a></td><td>&pound;" + std::to_string(150000 + row % 9000) +
            "</td></tr>\r\n";
  page.resize(kPageSize);
  return page;
}

const std::filesystem::path& entityFile() {
  static const std::filesystem::path file = [] {
    const auto path = benchFolder() / "entity.html";
    std::ofstream(path, std::ios::binary) << listingPage();
    return path;
  }();
  return file;
}

// Lowers the high-water mark of resident memory to the current size.
void resetPeakKiB() {
  if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);
    std::fclose(clear);
  }
}

// The high-water mark of resident memory in KiB since the last reset.
long peakKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

long currentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

void plainCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
  UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  UniqueFd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  static char buffer[kBufferSize];
  long got = 0;
  while ((got = readSome(in.get(), buffer, sizeof buffer)) > 0)
    writeAll(out.get(), buffer, static_cast<std::size_t>(got));
}

template <class Step>
void fileBenchmark(benchmark::State& state, Step step) {
  const auto& entity = entityFile();
  const auto out = benchFolder() / "out.dat";
  step(entity, out);  // warm the page cache and the buffers
  resetPeakKiB();
  const long before = currentKiB();
  for (auto _ : state) step(entity, out);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
  state.counters["peak_growth_KiB"] = static_cast<double>(peakKiB() - before);
}

void BM_PlainCopy(benchmark::State& state) { fileBenchmark(state, plainCopy); }
void BM_Killhtml(benchmark::State& state) {
  fileBenchmark(state, [](const auto& in, const auto& out) { killhtml(in, out); });
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Killhtml)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

test::LoopbackServer& pageServer() {
  static test::LoopbackServer server;
  static const bool served = [] {
    server.serve("/big", 200, listingPage());
    return true;
  }();
  (void)served;
  return server;
}

void BM_CurlDownload(benchmark::State& state) {
  const std::string command = "curl -s -o /dev/null " + pageServer().url("/big");
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("curl failed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}

void BM_FetchUrlText(benchmark::State& state) {
  const std::string url = pageServer().url("/big");
  for (auto _ : state) {
    const std::string page = FetchUrlText(url);
    if (page.size() != kPageSize) state.SkipWithError("the download came back incomplete");
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageSize));
}
BENCHMARK(BM_CurlDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_FetchUrlText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Prints as usual and keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With --benchmark_repetitions the median stands for the benchmark; otherwise its one run.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median) m_medians.insert(name);
      if (median || (run.run_type == Run::RT_Iteration && !m_medians.count(name)))
        m_seconds[name] = run.GetAdjustedRealTime() / 1e3;
    }
  }
  void printRatios() const {
    std::printf("\n");
    ratio("killhtml time / plain copy time", "BM_Killhtml", "BM_PlainCopy", 1.5, false);
    ratio("FetchUrlText throughput / curl throughput", "BM_CurlDownload", "BM_FetchUrlText", 0.8,
          true);
  }

 private:
  // Prints numerator/denominator of the times and the goal (at most, or at least when atLeast).
  void ratio(const char* what, const std::string& a, const std::string& b, double goal,
             bool atLeast) const {
    const auto ia = m_seconds.find(a);
    const auto ib = m_seconds.find(b);
    if (ia == m_seconds.end() || ib == m_seconds.end() || ib->second <= 0) {
      std::printf("%-45s not measured\n", what);
      return;
    }
    const double value = ia->second / ib->second;
    const bool met = atLeast ? value >= goal : value <= goal;
    std::printf("%-45s %.2f (goal %s %.1f: %s)\n", what, value, atLeast ? ">=" : "<=", goal,
                met ? "met" : "NOT met");
  }
  std::map<std::string, double> m_seconds;
  std::set<std::string> m_medians;
};

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  korvane::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  std::error_code ignored;
  std::filesystem::remove_all(korvane::benchFolder(), ignored);
  benchmark::Shutdown();
  return 0;
}
