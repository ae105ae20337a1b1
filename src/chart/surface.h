#pragma once

// The chart's drawing surface: a retained 2-D picture addressed in twips.

#include <cstdint>
#include <string_view>

namespace korvane {

using Color = std::uint32_t;  // 0x00BBGGRR; 0x80000000 + n names system colour n
enum class LineStyle { Solid, Dotted };

// Twips, origin top-left, y downwards. Every drawing stays until clear() or setBackground().
// A surface moves its current position to (x2, y2) after line, rectangle and filledRectangle,
// and to the start of the next line (x = 0, y + line height) after drawText.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual double width() const = 0;
  virtual double height() const = 0;
  // Erases every drawing; the surface shows its background colour.
  virtual void clear() = 0;
  // The whole surface takes the colour; earlier drawing is erased.
  virtual void setBackground(Color color) = 0;
  // Applies to lines and rectangle outlines drawn afterwards.
  virtual void setLineStyle(LineStyle style) = 0;
  virtual void line(double x1, double y1, double x2, double y2, Color color) = 0;
  // Outline of the axis-parallel rectangle with these opposite corners.
  virtual void rectangle(double x1, double y1, double x2, double y2, Color color) = 0;
  // The same rectangle filled and outlined in the colour.
  virtual void filledRectangle(double x1, double y1, double x2, double y2, Color color) = 0;
  virtual double currentX() const = 0;
  virtual double currentY() const = 0;
  virtual void setCurrent(double x, double y) = 0;
  virtual double textWidth(std::string_view text) const = 0;
  virtual double textHeight(std::string_view text) const = 0;  // the font's line height
  virtual void drawText(std::string_view text) = 0;            // top-left at the current position

  // Moves the current position to the start of the next line, drawing nothing.
  void advanceLine() { drawText({}); }
};

}  // namespace korvane
