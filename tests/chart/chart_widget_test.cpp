#include "chart/chart_widget.h"

#include "report_chart.h"

#include "util/basic.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane {
namespace {

const QColor kChartBackground(255, 255, 246);

// The report's chart control with a host that redraws it as the report does.
class ChartWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.setRedrawHandler([this] {
      ++redraws;
      redraw();
    });
    widget.resizeTwips(6135, 3735);
    widget.show();
    redraw();
    redraws = 0;
  }

  void redraw() {
    test::setUpAsReport(widget.chart());
    widget.DrawGraph(test::reportSeries(), test::reportColours(), test::reportYears());
    widget.DrawLegend(test::reportLegend(), test::reportColours());
  }

  QPoint pixelsAt(double xTwips, double yTwips) const {
    return QPoint(qRound(xTwips * widget.dpi() / 1440), qRound(yTwips * widget.dpi() / 1440));
  }

  QColor pictureAt(double xTwips, double yTwips) const {
    return widget.picture().toImage().pixelColor(pixelsAt(xTwips, yTwips));
  }

  void send(QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  }

  ChartWidget widget;
  int redraws = 0;
};

TEST_F(ChartWidgetTest, IsAsLargeAsTheReportsChartInTwips) {
  const double pixelTwips = 1440 / widget.dpi();
  EXPECT_NEAR(widget.widthTwips(), 6135, pixelTwips);
  EXPECT_NEAR(widget.heightTwips(), 3735, pixelTwips);
  if (widget.dpi() == 96) {
    EXPECT_EQ(widget.size(), QSize(409, 249));
  }
}

TEST_F(ChartWidgetTest, ShowsTheLegendBoxAtItsDefaultCorner) {
  // Inside the box, left of the swatches: white; left of the box: chart background.
  EXPECT_EQ(pictureAt(3600, 2220), QColor(Qt::white));
  EXPECT_EQ(pictureAt(3400, 2220), kChartBackground);
}

TEST_F(ChartWidgetTest, LeftDragMovesTheLegendAfterTheHostRedraws) {
  const QPoint grab = pixelsAt(3600, 2220);
  const QPoint drop = grab - QPoint(166, 100);
  send(QEvent::MouseButtonPress, Qt::LeftButton, grab);
  send(QEvent::MouseMove, Qt::LeftButton, drop);
  ASSERT_TRUE(widget.chart().outline().visible);
  // The outline is drawn over the picture while the picture itself stays as it was.
  EXPECT_NE(widget.grab().toImage(), widget.picture().toImage());
  EXPECT_EQ(redraws, 0);

  send(QEvent::MouseButtonRelease, Qt::LeftButton, drop);
  EXPECT_EQ(redraws, 1);
  EXPECT_FALSE(widget.chart().outline().visible);
  const Chart::LegendBox& box = widget.chart().legend();
  EXPECT_NEAR(box.left, 3535 - 166 * 1440 / widget.dpi(), 1);
  EXPECT_EQ(pictureAt(box.left + 65, box.top + 35), QColor(Qt::white));
  EXPECT_EQ(pictureAt(3600, 2220), kChartBackground);
}

TEST_F(ChartWidgetTest, RightReleaseOpensTheMenuWithLegendaChecked) {
  send(QEvent::MouseButtonPress, Qt::RightButton, QPoint(50, 50));
  EXPECT_FALSE(widget.mnuMain()->isVisible());
  send(QEvent::MouseButtonRelease, Qt::RightButton, QPoint(50, 50));
  EXPECT_TRUE(widget.mnuMain()->isVisible());
  ASSERT_EQ(widget.mnuMain()->actions().size(), 1);
  EXPECT_EQ(widget.mnuLegend()->text(), "Legenda");
  EXPECT_TRUE(widget.mnuLegend()->isChecked());
  EXPECT_EQ(redraws, 0);
  widget.mnuMain()->hide();
}

TEST_F(ChartWidgetTest, ChoosingLegendaRemovesAndRestoresTheLegend) {
  widget.mnuLegend()->trigger();
  EXPECT_FALSE(widget.chart().mnuLegendChecked());
  EXPECT_FALSE(widget.mnuLegend()->isChecked());
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(pictureAt(3600, 2220), kChartBackground);

  widget.mnuLegend()->trigger();
  EXPECT_TRUE(widget.chart().mnuLegendChecked());
  EXPECT_TRUE(widget.mnuLegend()->isChecked());
  EXPECT_EQ(redraws, 2);
  EXPECT_EQ(pictureAt(3600, 2220), QColor(Qt::white));
}

TEST_F(ChartWidgetTest, ResizeAsksTheHostToRedrawOnceUnlessInDesignMode) {
  struct Case {
    bool designMode;
    int redraws;
  } cases[] = {{false, 1}, {true, 0}};
  for (const Case& c : cases) {
    redraws = 0;
    widget.setDesignMode(c.designMode);
    widget.resize(widget.width() + 40, widget.height() + 20);
    QApplication::processEvents();
    EXPECT_EQ(redraws, c.redraws) << "design mode " << c.designMode;
    EXPECT_EQ(widget.picture().deviceIndependentSize().toSize(), widget.size());
  }
}

TEST_F(ChartWidgetTest, KeepsHostFailuresOutOfTheEventLoop) {
  widget.setRedrawHandler([this] {
    ++redraws;
    widget.chart().setRows(0);
    widget.DrawGraph(test::reportSeries(), test::reportColours(), test::reportYears());
  });
  widget.resize(widget.width() + 10, widget.height());
  EXPECT_EQ(redraws, 1);
  // The failed drawing left the surface cleared.
  EXPECT_NE(pictureAt(3600, 2220), QColor(Qt::white));
}

TEST_F(ChartWidgetTest, TellsTheHostWhichSettingChanged) {
  std::vector<std::string> names;
  widget.setPropertyChangedHandler([&](std::string_view name) { names.emplace_back(name); });
  widget.chart().setMaxValue(120);
  widget.chart().setCols(3);
  EXPECT_EQ(names, (std::vector<std::string>{"MaxValue", "Cols"}));
}

}  // namespace
}  // namespace korvane
