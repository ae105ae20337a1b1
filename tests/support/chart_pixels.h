#pragma once

// Counting the pixels of a colour on a drawn chart, so a test can tell the two series apart.

#include <QImage>
#include <QPixmap>

namespace korvane::test {

enum class Hue { Red, Blue, Green };

// The number of pixels of the picture that are clearly of this hue (antialiased edges included
// only where the hue dominates).
inline int pixelsOf(const QPixmap& picture, Hue hue) {
  const QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int r = c.red(), g = c.green(), b = c.blue();
      const bool match = hue == Hue::Red    ? r > 180 && g < 80 && b < 80
                         : hue == Hue::Blue ? b > 180 && r < 80 && g < 80
                                            : g > 180 && r < 80 && b < 80;
      if (match) ++count;
    }
  }
  return count;
}

}  // namespace korvane::test
