#pragma once

// Window geometry is designed in twips (1440 to the inch); widgets are placed in pixels. One
// conversion, with the screen's logical DPI, keeps every window in proportion on any screen.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvane {

// Pixels for a length in twips at the given logical DPI, rounded to the nearest pixel.
int twipsToPixels(int twips, double dotsPerInch);

// The primary screen's logical DPI; 96 when there is no screen (never fails).
double screenDotsPerInch();

// Pixels for a length in twips on the primary screen.
int px(int twips);
// A rectangle given in twips (left, top, width, height) in pixels on the primary screen.
QRect pxRect(int left, int top, int width, int height);
// A size given in twips in pixels on the primary screen.
QSize pxSize(int width, int height);
// A point given in twips in pixels on the primary screen.
QPoint pxPoint(int left, int top);

}  // namespace korvane
