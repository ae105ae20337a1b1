#include "platform/svg_icon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// The program's icon: a picture that fills its middle.
const QString kIcon = QStringLiteral(":/assets/korvane.svg");

class IconSize : public ::testing::TestWithParam<int> {};

TEST_P(IconSize, IsDrawnAtTheSizeAskedForWithThePictureInIt) {
  const int side = GetParam();
  const QPixmap pixmap = svgIcon(kIcon).pixmap(QSize(side, side));
  ASSERT_FALSE(pixmap.isNull());
  EXPECT_EQ(pixmap.size(), QSize(side, side));
  const QImage image = pixmap.toImage();
  EXPECT_EQ(qAlpha(image.pixel(side / 2, side / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(WindowIconSizes, IconSize, ::testing::Values(16, 32, 48, 256));

TEST(SvgIcon, AMissingPictureGivesEmptyPixmaps) {
  const QIcon icon = svgIcon(QStringLiteral(":/assets/no-such-picture.svg"));
  EXPECT_TRUE(icon.pixmap(QSize(32, 32)).isNull());
}

TEST(SvgIcon, ACopyDrawsTheSamePicture) {
  const QIcon icon = svgIcon(kIcon);
  QIcon copy = icon;
  copy.detach();
  EXPECT_EQ(copy.pixmap(QSize(32, 32)).toImage(), icon.pixmap(QSize(32, 32)).toImage());
}

}  // namespace
}  // namespace korvane
