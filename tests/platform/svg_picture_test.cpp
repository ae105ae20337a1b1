// The picture control.

#include "platform/svg_picture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane {
namespace {

// The SVG drawn here, as the program draws its pictures.
QImage renderedHere(const QString& path, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer picture(path);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  picture.render(&painter, QRectF(image.rect()));
  return image;
}

// The largest difference of any channel of any pixel; -1 when the sizes differ.
int largestDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  int largest = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row);
      const QRgb q = y.pixel(column, row);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return largest;
}

// A control on a grey window, as the window shows it.
class GreyWindow {
 public:
  explicit GreyWindow(const QString& path) : m_picture(new SvgPicture(path, &m_window)) {
    m_window.setAutoFillBackground(true);
    QPalette palette = m_window.palette();
    palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m_window.setPalette(palette);
  }
  QImage shownAt(QSize size) {
    m_window.resize(size);
    m_picture->setGeometry(QRect(QPoint(0, 0), size));
    return m_window.grab().toImage();
  }

 private:
  QWidget m_window;
  SvgPicture* m_picture;
};

// The same picture drawn from its SVG straight onto the grey window.
QImage expectedOnGrey(const QString& path, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(0x80, 0x80, 0x80));
  QPainter painter(&image);
  painter.drawImage(0, 0, renderedHere(path, size));
  return image;
}

TEST(SvgPicture, ShowsThePictureAtEachSizeItTakes) {
  // One control resized: what it drew for one size must not stand in for the next.
  const QString path = QStringLiteral(":/assets/front_background.svg");
  GreyWindow window(path);
  for (const QSize size : {QSize(400, 400), QSize(250, 250), QSize(400, 400)})
    EXPECT_EQ(largestDifference(window.shownAt(size), expectedOnGrey(path, size)), 0)
        << size.width();
}

TEST(SvgPicture, OnATwiceAsDenseDeviceIsAsSharpAsTheSvgDrawnThere) {
  // As on a screen with a pixel ratio of 2: the picture is as sharp as the SVG drawn there.
  const QString path = QStringLiteral(":/assets/front_background.svg");
  SvgPicture picture(path);
  picture.resize(400, 400);
  QImage dense(QSize(800, 800), QImage::Format_ARGB32_Premultiplied);
  dense.setDevicePixelRatio(2);
  dense.fill(Qt::transparent);
  picture.render(&dense, QPoint(), QRegion(), QWidget::DrawChildren);
  dense.setDevicePixelRatio(1);
  EXPECT_EQ(largestDifference(dense, renderedHere(path, QSize(800, 800))), 0);
}

TEST(SvgPicture, AMissingPictureLeavesTheControlEmpty) {
  const QString path = QStringLiteral(":/assets/no-such-picture.svg");
  SvgPicture picture(path);
  EXPECT_FALSE(picture.isValid());
  const QImage image = GreyWindow(path).shownAt(QSize(40, 40));
  EXPECT_EQ(image.pixelColor(20, 20), QColor(0x80, 0x80, 0x80));
}

}  // namespace
}  // namespace korvane
