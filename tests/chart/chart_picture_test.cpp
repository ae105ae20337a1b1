#include "report_chart.h"

#include "chart/chart.h"
#include "chart/chart_widget.h"
#include "chart/painter_surface.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>
#include <set>

namespace korvane {
namespace {

// The report's chart drawn on a picture at this device pixel ratio, 96 DPI.
QImage reportPicture(double ratio) {
  Chart chart;
  PainterSurface surface(96, QApplication::font());
  surface.resize(409, 249, ratio);
  test::setUpAsReport(chart);
  chart.DrawGraph(surface, test::reportSeries(), test::reportColours(), test::reportYears());
  chart.DrawLegend(surface, test::reportLegend(), test::reportColours());
  return surface.pixmap().toImage();
}

// The colours of one device-pixel row across the plot below the data and the legend, above the
// labels.
std::multiset<QRgb> rowColours(const QImage& image, double ratio) {
  std::multiset<QRgb> colours;
  const int y = qRound(3100.0 / 15 * ratio);  // 3100 twips
  for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) & 0xFFFFFF);
  return colours;
}

TEST(ChartPicture, DrawsTheReportsChartWithOneDevicePixelLinesAtEveryRatio) {
  const QRgb background = qRgb(255, 255, 246) & 0xFFFFFF;
  const QRgb grid = qRgb(192, 192, 192) & 0xFFFFFF;
  for (double ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    QImage image = reportPicture(ratio);
    EXPECT_EQ(image.size(), QSize(qRound(409 * ratio), qRound(249 * ratio)));
    const QString name = ratio == 1.0 ? "report_chart_96dpi.png" : "report_chart_ratio2.png";
    EXPECT_TRUE(image.save(QStringLiteral(KORVANE_PICTURE_DIR "/") + name));

    // Crisp: the frame's two sides are one black pixel each and nothing is blended.
    std::multiset<QRgb> colours = rowColours(image, ratio);
    EXPECT_EQ(colours.count(0), 2u);
    for (QRgb colour : colours) {
      EXPECT_TRUE(colour == background || colour == grid || colour == 0) << std::hex << colour;
    }
  }
}

TEST(ChartPicture, WidgetPictureMatchesTheSurfaceAtItsOwnRatio) {
  ChartWidget widget;
  widget.resize(409, 249);
  test::setUpAsReport(widget.chart());
  widget.DrawGraph(test::reportSeries(), test::reportColours(), test::reportYears());
  widget.DrawLegend(test::reportLegend(), test::reportColours());
  if (widget.dpi() != 96 || widget.devicePixelRatioF() != 1.0) GTEST_SKIP() << "screen not 96 DPI";
  EXPECT_EQ(widget.picture().toImage().convertToFormat(QImage::Format_RGB32),
            reportPicture(1.0).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace korvane
