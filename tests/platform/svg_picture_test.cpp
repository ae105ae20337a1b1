// The picture control and the pictures the build draws ahead for it.

#include "platform/svg_picture.h"

#include "platform/drawn_picture.h"
#include "platform/svg_drawing.h"

#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
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
  drawSvg(picture, painter, QRectF(image.rect()));
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

struct Drawn {
  QString path;
  QSize size;
};

// Every picture the build drew, read from the names it carries them under.
std::vector<Drawn> everyDrawnPicture() {
  static const QRegularExpression name(QStringLiteral("^(.*\\.svg)\\.(\\d+)x(\\d+)\\.argb$"));
  std::vector<Drawn> found;
  for (QDirIterator it(QStringLiteral(":/assets")); it.hasNext();) {
    const QRegularExpressionMatch match = name.match(it.next());
    if (match.hasMatch())
      found.push_back(
          {match.captured(1), QSize(match.captured(2).toInt(), match.captured(3).toInt())});
  }
  return found;
}

TEST(DrawnPicture, HoldsThePixelsOfTheSvgDrawnAtThatSize) {
  const std::vector<Drawn> drawn = everyDrawnPicture();
  ASSERT_FALSE(drawn.empty());
  for (const Drawn& picture : drawn) {
    const std::string name =
        picture.path.toStdString() + " " + std::to_string(picture.size.width());
    const QImage ahead = drawnPicture(picture.path, picture.size);
    ASSERT_FALSE(ahead.isNull()) << name;
    EXPECT_EQ(ahead.size(), picture.size) << name;
    EXPECT_EQ(ahead.format(), QImage::Format_ARGB32_Premultiplied) << name;
    EXPECT_EQ(largestDifference(ahead, renderedHere(picture.path, picture.size)), 0) << name;
  }
}

TEST(DrawnPicture, EachPictureIsDrawnForPixelRatiosOneAndTwo) {
  const std::vector<Drawn> drawn = everyDrawnPicture();
  ASSERT_FALSE(drawn.empty());
  for (const Drawn& picture : drawn) {
    const bool twiceAsLarge = !drawnPicture(picture.path, picture.size * 2).isNull();
    const bool halfAsLarge = picture.size.width() % 2 == 0 && picture.size.height() % 2 == 0 &&
                             !drawnPicture(picture.path, picture.size / 2).isNull();
    EXPECT_NE(twiceAsLarge, halfAsLarge) << picture.path.toStdString();
  }
}

TEST(DrawnPicture, IsNullWhereTheBuildDrewNothing) {
  const struct {
    const char* behaviour;
    QString path;
    QSize size;
  } cases[] = {
      {"another size", ":/assets/front_background.svg", {401, 400}},
      {"a picture only the report shows", ":/assets/report_background.svg", {400, 400}},
      {"a picture that is not there", ":/assets/no-such-picture.svg", {400, 400}},
      {"a file outside the program", "/tmp/front_background.svg", {400, 400}},
      {"an empty size", ":/assets/front_background.svg", {0, 0}},
  };
  for (const auto& c : cases) EXPECT_TRUE(drawnPicture(c.path, c.size).isNull()) << c.behaviour;
}

// A control on a grey window, as the window shows it.
QImage shown(const QString& path, QSize size) {
  QWidget window;
  window.setAutoFillBackground(true);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  window.setPalette(palette);
  window.resize(size);
  auto* picture = new SvgPicture(path, &window);
  picture->setGeometry(QRect(QPoint(0, 0), size));
  return window.grab().toImage();
}

// The same picture drawn from its SVG straight onto the grey window.
QImage expectedOnGrey(const QString& path, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(0x80, 0x80, 0x80));
  QPainter painter(&image);
  painter.drawImage(0, 0, renderedHere(path, size));
  return image;
}

TEST(SvgPicture, ShowsThePictureWhetherOrNotTheBuildDrewItAtItsSize) {
  const QString path = QStringLiteral(":/assets/front_background.svg");
  for (const QSize size : {QSize(400, 400), QSize(250, 250)}) {
    SvgPicture probe(path);
    probe.resize(size);
    EXPECT_EQ(probe.isDrawnAhead(), size == QSize(400, 400)) << size.width();
    EXPECT_EQ(largestDifference(shown(path, size), expectedOnGrey(path, size)), 0) << size.width();
  }
}

TEST(SvgPicture, OnATwiceAsDenseDeviceShowsThePixelsDrawnAtTwiceTheSize) {
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
  const QImage image = shown(path, QSize(40, 40));
  EXPECT_EQ(image.pixelColor(20, 20), QColor(0x80, 0x80, 0x80));
}

}  // namespace
}  // namespace korvane
