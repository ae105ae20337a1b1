#pragma once

// Pictures drawn at build time. A window that shows a picture at a size the build drew it at
// shows these pixels instead of reading and drawing the SVG file while it starts.

#include <QImage>
#include <QSize>
#include <QString>

namespace korvane {

// The pixels of the SVG resource at path drawn at exactly devicePixels, read in place from the
// program; a null image when the build did not draw it at that size.
QImage drawnPicture(const QString& path, QSize devicePixels);

}  // namespace korvane
