// One whole valuation run with its real pauses (8 s + 7 x 2 s) against a loopback listing service,
// next to the same pauses alone. The goal is at most 0.5 CPU-seconds for the run over its 22 s;
// prints wall time, this process's CPU time and the ratio to the goal for both.
//
// The listing service runs in a child process so that its CPU time is not counted as the run's.

#include "front/event_loop_waiter.h"
#include "front/valuation_run.h"
#include "net/fetch.h"
#include "net/hidden_pane.h"
#include "support/loopback_server.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <QApplication>

#include <time.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

using namespace korvane;

constexpr double kGoalCpuSeconds = 0.5;
int g_listingPort = 0;

double processCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A sold-prices page of a busy post code: 300 recorded sales, then the street's average.
std::string listingPage() {
  std::string page =
      "<html><head><title>Sold prices</title></head><body>\r\n"
      "<h1>Sold house prices in post codes starting AB1</h1>\r\n"
      "<p>Filter: <a href=\"/s\">Show Acacia Avenue only</a></p>\r\n<table>\r\n";
  for (int i = 1; i <= 300; ++i) {
    page += "<tr><td>" + std::to_string(i) + " Orchard Way</td><td>Semi-Detached</td><td>\xA3" +
            std::to_string(150 + i % 200) + ",000</td><td>14 Mar 2019</td></tr>\r\n";
  }
  page +=
      "</table>\r\n<p>Acacia Avenue, \xA3"
      "250,000 over 12 sales</p>\r\n"
      "<p>Buying a home? Compare mortgages</p></body></html>";
  return page;
}

// Runs the listing service in a child process; returns its port, or 0 when it could not start.
int startListingService(pid_t& child, int& keepAlive) {
  int portPipe[2];
  int lifePipe[2];
  if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) return 0;
  child = fork();
  if (child == 0) {
    close(portPipe[0]);
    close(lifePipe[1]);
    {
      korvane::test::LoopbackServer server;
      server.serve("/index.php", 200, listingPage());
      const std::string origin = server.url("");
      const int port = std::stoi(origin.substr(origin.rfind(':') + 1));
      if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
      char byte;
      while (read(lifePipe[0], &byte, 1) > 0) {
      }  // until the parent closes its end
    }
    _exit(0);
  }
  close(portPipe[1]);
  close(lifePipe[0]);
  keepAlive = lifePipe[1];
  int port = 0;
  if (read(portPipe[0], &port, sizeof port) != sizeof port) port = 0;
  close(portPipe[0]);
  return port;
}

void report(benchmark::State& state, const char* what, double wall, double cpu) {
  state.counters["wall_s"] = wall;
  state.counters["cpu_s"] = cpu;
  state.counters["cpu_to_goal"] = cpu / kGoalCpuSeconds;
  std::printf("%-12s wall %.3f s  cpu %.3f s  cpu/goal(%.1f s) %.3f\n", what, wall, cpu,
              kGoalCpuSeconds, cpu / kGoalCpuSeconds);
}

// Baseline: the run's eight pauses alone, with the event loop kept alive as in a run.
void BM_PausesOnly(benchmark::State& state) {
  EventLoopWaiter waiter;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    waiter.wait(8);
    for (int i = 0; i < 7; ++i) waiter.wait(2);
    report(state, "pauses only",
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
           processCpuSeconds() - cpuStart);
  }
}

void BM_WholeRun(benchmark::State& state) {
  if (g_listingPort == 0) {
    state.SkipWithError("the loopback listing service did not start");
    return;
  }
  const std::filesystem::path programFolder =
      std::filesystem::temp_directory_path() / ("korvane-run-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(programFolder / "property");
  {
    test::FakeInputs inputs;
    test::RecordingProgress progress;
    test::RecordingReport reportView;
    PageFetcher pages;
    EventLoopWaiter waiter;
    HiddenPane browser;
    test::RecordingMessageBoxes boxes;
    RunBuffer buffer;
    WorkFolder work{programFolder};
    ValuationRun run{
        RunPorts{inputs, progress, reportView, pages, waiter, work, browser, boxes, buffer},
        "http://127.0.0.1:" + std::to_string(g_listingPort)};
    for (auto _ : state) {
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = processCpuSeconds();
      run.DoProc();
      report(state, "whole run",
             std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
             processCpuSeconds() - cpuStart);
    }
    if (buffer.text("txt_num") != "250") state.SkipWithError("the run did not read the page");
  }
  std::filesystem::remove_all(programFolder);
}

BENCHMARK(BM_PausesOnly)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_WholeRun)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // Fork the service before Qt starts any thread.
  pid_t child = -1;
  int keepAlive = -1;
  g_listingPort = startListingService(child, keepAlive);

  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  if (keepAlive >= 0) close(keepAlive);
  if (child > 0) waitpid(child, nullptr, 0);
  return 0;
}
