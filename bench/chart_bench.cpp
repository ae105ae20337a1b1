// Redraws of the report's chart per second: DrawGraph + DrawLegend on the widget's pixmap
// surface at device pixel ratio 1 and 2, against the same calls on a surface that draws nothing
// (the layout arithmetic alone).

#include "chart/chart.h"
#include "chart/painter_surface.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace korvane {
namespace {

const IndexedArray<std::string> kSeries{
    0, {"250,262,275,287,300,312", "264,281,290,301,312,312,315,313,314", ""}};
const IndexedArray<Color> kColours{0, {0x0000FF, 0xFF0000, 0x00FF00}};
const IndexedArray<std::string> kYears{
    0, {"", "2001", "2006", "2007", "2008", "2009", "2010", "2011", "2012", "2013", "2014"}};
const IndexedArray<std::string> kLegend{
    0, {"Your property value", "Market Value", "Market at lower rate"}};

// Keeps the position and answers fixed text metrics; draws nothing.
class NullSurface final : public Surface {
 public:
  double width() const override { return 6135; }
  double height() const override { return 3735; }
  void clear() override {}
  void setBackground(Color) override {}
  void setLineStyle(LineStyle) override {}
  void line(double, double, double x2, double y2, Color) override { setCurrent(x2, y2); }
  void rectangle(double, double, double x2, double y2, Color) override { setCurrent(x2, y2); }
  void filledRectangle(double, double, double x2, double y2, Color) override { setCurrent(x2, y2); }
  double currentX() const override { return m_x; }
  double currentY() const override { return m_y; }
  void setCurrent(double x, double y) override {
    m_x = x;
    m_y = y;
  }
  double textWidth(std::string_view text) const override { return 100.0 * text.size(); }
  double textHeight(std::string_view) const override { return 200; }
  void drawText(std::string_view) override { setCurrent(0, m_y + 200); }

 private:
  double m_x = 0;
  double m_y = 0;
};

void redraw(Chart& chart, Surface& surface) {
  chart.setMaxValue(350);
  chart.setMinValue(0);
  chart.setRows(10);
  chart.setCols(3);
  chart.DrawGraph(surface, kSeries, kColours, kYears);
  chart.DrawLegend(surface, kLegend, kColours);
}

void BM_LayoutOnly(benchmark::State& state) {
  Chart chart;
  NullSurface surface;
  for (auto _ : state) redraw(chart, surface);
  state.counters["redraws/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LayoutOnly);

void BM_PixmapRedraw(benchmark::State& state) {
  const double ratio = static_cast<double>(state.range(0));
  Chart chart;
  PainterSurface surface(96, QApplication::font());
  surface.resize(409, 249, ratio);  // the report's 6135 x 3735 twips
  for (auto _ : state) {
    redraw(chart, surface);
    // What the widget does before it shows the picture.
    surface.finish();
  }
  state.counters["redraws/s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PixmapRedraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Prints each run as usual and, at the end, the redraws per second and the cost against the
// layout-only baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.iterations > 0)
        m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() / unit(run);
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double baseline = m_seconds["BM_LayoutOnly"];
    for (const auto& [name, seconds] : m_seconds) {
      std::printf("%-22s %10.0f redraws/s  %8.1f x layout-only\n", name.c_str(), 1.0 / seconds,
                  baseline > 0 ? seconds / baseline : 0.0);
    }
  }

 private:
  static double unit(const Run& run) {
    switch (run.time_unit) {
      case benchmark::kNanosecond:
        return 1e9;
      case benchmark::kMicrosecond:
        return 1e6;
      case benchmark::kMillisecond:
        return 1e3;
      default:
        return 1;
    }
  }
  std::map<std::string, double> m_seconds;
};

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  // Draws into pixmaps only: no display needed.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  korvane::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
