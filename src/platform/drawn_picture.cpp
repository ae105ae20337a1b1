#include "drawn_picture.h"

#include <QResource>

#include <cstdint>

namespace korvane {

QImage drawnPicture(const QString& path, QSize devicePixels) {
  if (devicePixels.isEmpty() || !path.startsWith(QLatin1String(":/"))) return {};
  // Beside the picture, named for the size: ":/assets/x.svg.400x400.argb".
  const QResource drawn(path + QLatin1Char('.') + QString::number(devicePixels.width()) +
                        QLatin1Char('x') + QString::number(devicePixels.height()) +
                        QLatin1String(".argb"));
  if (!drawn.isValid() || drawn.compressionAlgorithm() != QResource::NoCompression) return {};
  const qint64 bytesPerLine = qint64(devicePixels.width()) * 4;
  if (drawn.size() != bytesPerLine * devicePixels.height()) return {};
  const uchar* pixels = drawn.data();
  const QImage inPlace(pixels, devicePixels.width(), devicePixels.height(),
                       static_cast<qsizetype>(bytesPerLine), QImage::Format_ARGB32_Premultiplied);
  // QImage reads its words in place only from an address they are aligned on.
  return reinterpret_cast<std::uintptr_t>(pixels) % alignof(quint32) == 0 ? inPlace
                                                                          : inPlace.copy();
}

}  // namespace korvane
