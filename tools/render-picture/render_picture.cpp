// korvane-render-picture: draws an SVG picture at a size in pixels and writes its pixels, so a
// window can show the picture without reading and drawing the SVG while it starts.
//
//   korvane-render-picture PICTURE.svg WIDTH HEIGHT OUTPUT
//
// OUTPUT holds WIDTH × HEIGHT pixels, row by row from the top, each a 32-bit premultiplied ARGB
// word in the byte order of the machine (QImage::Format_ARGB32_Premultiplied): the program that
// shows them is built on the same machine, and draws them without converting.

#include "platform/svg_drawing.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "korvane-render-picture: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 5)
    return fail("usage: korvane-render-picture PICTURE.svg WIDTH HEIGHT OUTPUT");

  bool widthOk = false;
  bool heightOk = false;
  const int width = args[2].toInt(&widthOk);
  const int height = args[3].toInt(&heightOk);
  if (!widthOk || !heightOk || width <= 0 || height <= 0 || width > 8192 || height > 8192)
    return fail("the size must be two whole numbers from 1 to 8192, not " + args[2] + " " +
                args[3]);

  QSvgRenderer picture(args[1]);
  if (!picture.isValid()) return fail("cannot read the picture " + args[1]);

  QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
  pixels.fill(Qt::transparent);
  {
    QPainter painter(&pixels);
    korvane::drawSvg(picture, painter, QRectF(pixels.rect()));
  }

  QSaveFile out(args[4]);
  if (!out.open(QIODevice::WriteOnly)) return fail("cannot write " + args[4]);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const char*>(pixels.constScanLine(y));
    out.write(row, qint64(width) * 4);
  }
  if (!out.commit()) return fail("cannot write " + args[4] + ": " + out.errorString());
  return 0;
}
