#pragma once

// The fonts the windows were designed with. Arial is served by its metric twin Liberation Sans
// through fontconfig; "MS Sans Serif" has no twin on Linux and is mapped to the same family.

#include <QFont>

namespace korvane {

// The font family named in the design, at a point size that may carry a fraction (8.25).
QFont designFont(const char* family, double pointSize, bool bold = false, bool underline = false);

// The windows' default font: MS Sans Serif 8.25 pt.
QFont windowFont();

}  // namespace korvane
