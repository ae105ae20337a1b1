#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace korvane {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

int twipsToPixels(int twips, double dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

double screenDotsPerInch() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

int px(int twips) { return twipsToPixels(twips, screenDotsPerInch()); }

QRect pxRect(int left, int top, int width, int height) {
  // Converting both edges (not the width) keeps neighbouring controls from drifting apart.
  const double dpi = screenDotsPerInch();
  const int x = twipsToPixels(left, dpi);
  const int y = twipsToPixels(top, dpi);
  return QRect(x, y, twipsToPixels(left + width, dpi) - x, twipsToPixels(top + height, dpi) - y);
}

QSize pxSize(int width, int height) { return QSize(px(width), px(height)); }

QPoint pxPoint(int left, int top) { return QPoint(px(left), px(top)); }

}  // namespace korvane
