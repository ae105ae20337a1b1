#pragma once

// How the program draws its SVG pictures: stretched to the box, antialiased. The picture
// control, the window icons and the build's drawing of pictures ahead all draw this way, so the
// pixels drawn at build time are the pixels the control would draw.

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>

namespace korvane {

inline void drawSvg(QSvgRenderer& picture, QPainter& painter, const QRectF& box) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  picture.render(&painter, box);
  painter.restore();
}

}  // namespace korvane
