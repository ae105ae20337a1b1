// Extraction over long stripped pages whose markers sit near the end, against one plain search for
// the page's last marker over the same page. Prints both times and their ratios.

#include "front/extraction.h"
#include "util/run_buffer.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kLastMarker = "Buying a home?";
constexpr long kSmall = 1L << 20;
constexpr long kLarge = 16L << 20;

// A stripped listing page of about size bytes: news and listing text without markers, then the
// part the extraction cuts from, near the end.
std::string makePage(long size) {
  static constexpr std::string_view kFiller[] = {
      "   Property news    Semi-Detached homes in Bristol rose by 2.1 per cent this spring  \r\n",
      "   Read more    Share    Terraced    Flat    Detached    3 bedrooms    Garden  \r\n",
      "   Local schools    Oakfield Primary    Good    0.4 miles    Broadway Academy  \r\n",
      "   Transport    Temple Meads station    Bus routes 72, 75 and 76    Cycle paths  \r\n",
  };
  static constexpr std::string_view kTail =
      "   Sold house prices in post codes starting AB1 2  \r\n"
      "   Filter:   Show   Acacia Avenue   only    |   Show all streets  \r\n"
      "   12 Acacia Avenue    Semi-Detached    \xA3"
      "180,000    14 Mar 2019  \r\n"
      "   Acacia Avenue,   \xA3"
      "250,000    over 12 sales  \r\n"
      "   Buying a home?   Compare mortgages  \r\n";
  std::string page;
  page.reserve(static_cast<std::size_t>(size) + 256);
  for (std::size_t i = 0; page.size() + kTail.size() < static_cast<std::size_t>(size); ++i) {
    page += kFiller[i % std::size(kFiller)];
  }
  page += kTail;
  return page;
}

const std::string& page(long size) {
  static std::map<long, std::string> pages;
  auto [it, added] = pages.try_emplace(size);
  if (added) it->second = makePage(size);
  return it->second;
}

void BM_FindLastMarker(benchmark::State& state) {
  std::string_view text = page(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(text.find(kLastMarker));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_ExtractSoldPrices(benchmark::State& state) {
  korvane::RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", page(state.range(0)));
  for (auto _ : state) {
    korvane::extractSoldPrices(buffer);
    benchmark::DoNotOptimize(buffer.text("txt_num").data());
  }
  if (buffer.text("txt_num") != "250") state.SkipWithError("the page did not give its average");
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_FindLastMarker)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtractSoldPrices)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);

// Keeps each run's time per iteration (in the reporter's unit) for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        m_times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  struct Times {
    double real = 0;
    double cpu = 0;
  };

  Times time(const std::string& name, long size) const {
    auto it = m_times.find(name + "/" + std::to_string(size));
    return it == m_times.end() ? Times{} : it->second;
  }

 private:
  std::map<std::string, Times> m_times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  // Real time is the measure; CPU time is shown beside it because a busy machine stretches the
  // real time of the larger page most.
  auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  for (long size : {kSmall, kLarge}) {
    auto find = reporter.time("BM_FindLastMarker", size);
    auto extract = reporter.time("BM_ExtractSoldPrices", size);
    std::printf(
        "%3ld MiB: find %.1f us, extraction %.1f us, extraction / find = %.2f (cpu %.2f, goal <= "
        "5)\n",
        size >> 20, find.real, extract.real, ratio(extract.real, find.real),
        ratio(extract.cpu, find.cpu));
  }
  auto small = reporter.time("BM_ExtractSoldPrices", kSmall);
  auto large = reporter.time("BM_ExtractSoldPrices", kLarge);
  std::printf("extraction 16 MiB / 1 MiB = %.2f (cpu %.2f, goal <= 20)\n",
              ratio(large.real, small.real), ratio(large.cpu, small.cpu));
  return 0;
}
