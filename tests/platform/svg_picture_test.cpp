// The picture control and the pictures the build draws ahead for it.

#include "platform/svg_picture.h"

#include "platform/drawn_picture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace korvane {
namespace {

// The SVG drawn here, as the control draws it when nothing was drawn ahead.
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

struct Drawn {
  const char* path;
  QSize size;
};

// The main window's pictures at the sizes it shows them, at pixel ratios 1 and 2.
const Drawn kDrawnAhead[] = {
    {":/assets/front_background.svg", {400, 400}}, {":/assets/front_background.svg", {800, 800}},
    {":/assets/houses_icon.svg", {32, 32}},        {":/assets/houses_icon.svg", {64, 64}},
    {":/assets/predict_arrow.svg", {100, 50}},     {":/assets/predict_arrow.svg", {200, 100}},
    {":/assets/sponsor_books.svg", {104, 78}},     {":/assets/sponsor_books.svg", {208, 156}},
};

class DrawnAhead : public ::testing::TestWithParam<Drawn> {};

TEST_P(DrawnAhead, HoldsThePixelsOfTheSvgDrawnAtThatSize) {
  const Drawn& drawn = GetParam();
  const QImage ahead = drawnPicture(drawn.path, drawn.size);
  ASSERT_FALSE(ahead.isNull());
  EXPECT_EQ(ahead.size(), drawn.size);
  EXPECT_EQ(ahead.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(largestDifference(ahead, renderedHere(drawn.path, drawn.size)), 0);
}

INSTANTIATE_TEST_SUITE_P(MainWindowPictures, DrawnAhead, ::testing::ValuesIn(kDrawnAhead));

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
