#include "support/recording_surface.h"

#include "util/basic.h"

#include <cstdio>

namespace korvane::test {

namespace {

std::string colourText(Color color) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%06X", color & 0x00FFFFFFu);
  if (color & 0x80000000u) std::snprintf(buffer, sizeof buffer, "sys%u", color & 0xFFu);
  return buffer;
}

std::string box(const char* name, double x1, double y1, double x2, double y2, Color color) {
  return std::string(name) + " " + numberText(x1) + " " + numberText(y1) + " " + numberText(x2) +
         " " + numberText(y2) + " " + colourText(color);
}

}  // namespace

void RecordingSurface::clear() {
  log("clear");
  m_shownFrom = m_calls.size();
  m_x = 0;
  m_y = 0;
}

void RecordingSurface::setBackground(Color color) {
  log("background " + colourText(color));
  m_shownFrom = m_calls.size();
}

void RecordingSurface::setLineStyle(LineStyle style) {
  m_style = style;
  log(style == LineStyle::Dotted ? "style dotted" : "style solid");
}

void RecordingSurface::line(double x1, double y1, double x2, double y2, Color color) {
  log(box(m_style == LineStyle::Dotted ? "dotline" : "line", x1, y1, x2, y2, color));
  setCurrent(x2, y2);
}

void RecordingSurface::rectangle(double x1, double y1, double x2, double y2, Color color) {
  log(box(m_style == LineStyle::Dotted ? "dotrect" : "rect", x1, y1, x2, y2, color));
  setCurrent(x2, y2);
}

void RecordingSurface::filledRectangle(double x1, double y1, double x2, double y2, Color color) {
  log(box("fill", x1, y1, x2, y2, color));
  setCurrent(x2, y2);
}

void RecordingSurface::setCurrent(double x, double y) {
  m_x = x;
  m_y = y;
}

double RecordingSurface::textWidth(std::string_view text) const {
  return kCharWidth * static_cast<double>(text.size());
}

double RecordingSurface::textHeight(std::string_view) const { return kLineHeight; }

void RecordingSurface::drawText(std::string_view text) {
  if (!text.empty()) {
    log("text " + numberText(m_x) + " " + numberText(m_y) + " '" + std::string(text) + "'");
  }
  setCurrent(0, m_y + kLineHeight);
}

std::vector<std::string> RecordingSurface::shown() const {
  return {m_calls.begin() + static_cast<std::ptrdiff_t>(m_shownFrom), m_calls.end()};
}

std::vector<std::string> RecordingSurface::shown(std::string_view prefix) const {
  std::vector<std::string> result;
  for (const std::string& call : shown()) {
    if (call.compare(0, prefix.size(), prefix) == 0 &&
        (call.size() == prefix.size() || call[prefix.size()] == ' ')) {
      result.push_back(call);
    }
  }
  return result;
}

void RecordingSurface::log(std::string call) { m_calls.push_back(std::move(call)); }

}  // namespace korvane::test
