#include "window_fonts.h"

#include <QString>

namespace korvane {

QFont designFont(const char* family, double pointSize, bool bold, bool underline) {
  static const bool substituted = [] {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    return true;
  }();
  (void)substituted;
  QFont font{QString::fromLatin1(family)};
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

QFont windowFont() { return designFont("MS Sans Serif", 8.25); }

}  // namespace korvane
