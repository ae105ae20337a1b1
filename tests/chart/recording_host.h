#pragma once

#include "chart/chart_host.h"
#include "util/basic.h"

#include <string>
#include <vector>

namespace korvane::test {

// A chart host that logs each effect as text ("show 3535 2185 2800 800", "redraw", ...).
class RecordingHost final : public ChartHost {
 public:
  std::vector<std::string> effects;

  void propertyChanged(std::string_view name) override {
    effects.push_back("changed " + std::string(name));
  }
  void showOutline(double left, double top, double width, double height) override {
    effects.push_back("show " + numberText(left) + " " + numberText(top) + " " + numberText(width) +
                      " " + numberText(height));
  }
  void moveOutline(double left, double top) override {
    effects.push_back("move " + numberText(left) + " " + numberText(top));
  }
  void hideOutline() override { effects.push_back("hide"); }
  void openMenu(double x, double y) override {
    effects.push_back("menu " + numberText(x) + " " + numberText(y));
  }
  void requestRedraw() override { effects.push_back("redraw"); }
};

}  // namespace korvane::test
