#pragma once

// What a chart asks of the window that holds it. Every member does nothing by default, so a host
// overrides only what it shows.

#include <string_view>

namespace korvane {

class ChartHost {
 public:
  virtual ~ChartHost() = default;
  // A persisted property was written; the host marks its layout as modified.
  virtual void propertyChanged(std::string_view /*name*/) {}
  // The drag outline Shape1 was placed at this box (twips) and is to be shown.
  virtual void showOutline(double /*left*/, double /*top*/, double /*width*/, double /*height*/) {}
  // The drag outline keeps its size and moves its top-left corner here (twips).
  virtual void moveOutline(double /*left*/, double /*top*/) {}
  virtual void hideOutline() {}
  // Open the pop-up menu mnuMain at the pointer (twips, control coordinates).
  virtual void openMenu(double /*x*/, double /*y*/) {}
  // The picture is stale: draw the whole chart again (the report's RefreshGraph).
  virtual void requestRedraw() {}
};

}  // namespace korvane
