// The chart control: its logic on a surface and host that record in twips, then on Qt pictures.

#include "chart/chart.h"

#include "chart/chart_host.h"
#include "chart/chart_widget.h"
#include "chart/painter_surface.h"
#include "chart/property_bag.h"
#include "util/basic.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace korvane {
namespace {

std::string numbers(std::initializer_list<double> values) {
  std::string text;
  for (double value : values) text += (text.empty() ? "" : ",") + numberText(value);
  return text;
}

// Records as text what a chart draws (every character 100 twips wide, every line 200 high) and
// what it asks of its host. shown: the drawing calls of each kind since the last clear, space
// separated: "x1,y1,x2,y2#colour" (hex) for "rect", "line", "fill" and, dotted, "dotrect",
// "dotline"; "x,y'text'" (top-left) for "text". last: the last call, "clear" or "kind item".
// effects, "; " separated: "show 3535,2185,2800,800" (left, top, width, height), "move 1,2",
// "hide", "menu 10,20", "redraw".
struct Recorder final : Surface, ChartHost {
  Recorder(double width = 6135, double height = 3735) : size{width, height} {}
  std::map<std::string, std::string> shown;
  std::string last = "nothing", effects, dot;
  std::pair<double, double> size, at;

  double width() const override { return size.first; }
  double height() const override { return size.second; }
  void clear() override { shown.clear(), last = "clear"; }
  void setBackground(Color) override { shown.clear(); }
  void setLineStyle(LineStyle style) override { dot = style == LineStyle::Dotted ? "dot" : ""; }
  void line(double a, double b, double c, double d, Color k) override {
    shape(dot + "line", {a, b, c, d}, k);
  }
  void rectangle(double a, double b, double c, double d, Color k) override {
    shape(dot + "rect", {a, b, c, d}, k);
  }
  void filledRectangle(double a, double b, double c, double d, Color k) override {
    shape("fill", {a, b, c, d}, k);
  }
  double currentX() const override { return at.first; }
  double currentY() const override { return at.second; }
  void setCurrent(double x, double y) override { at = {x, y}; }
  double textWidth(std::string_view text) const override { return 100.0 * text.size(); }
  double textHeight(std::string_view) const override { return 200; }
  void drawText(std::string_view text) override {
    if (!text.empty())
      record("text", numbers({at.first, at.second}) + "'" + std::string(text) + "'");
    at = {0, at.second + 200};
  }
  void showOutline(double l, double t, double w, double h) override {
    effect("show " + numbers({l, t, w, h}));
  }
  void moveOutline(double left, double top) override { effect("move " + numbers({left, top})); }
  void hideOutline() override { effect("hide"); }
  void openMenu(double x, double y) override { effect("menu " + numbers({x, y})); }
  void requestRedraw() override { effect("redraw"); }

  void shape(const std::string& kind, std::initializer_list<double> corners, Color colour) {
    record(kind, numbers(corners) + "#" + QString::number(colour, 16).toUpper().toStdString());
    at = {corners.begin()[2], corners.begin()[3]};
  }
  void record(const std::string& kind, const std::string& item) {
    shown[kind] += (shown[kind].empty() ? "" : " ") + item;
    last = kind + " " + item;
  }
  void effect(const std::string& e) { effects += (effects.empty() ? "" : "; ") + e; }
};

TEST(ChartDrawing, LaysOutTheGraphWithTheLegendOnTopOrFailsAtTheFirstStepThatCannotBeDone) {
  // Category label i is the letter i, up to `labels` (index 0 is never read); the colours are 0xFF,
  // 0xFF00, 0xFF0000, the first `colours` of them, indexed like S and T. A failed drawing shows
  // its last call as "last"; by default on 1705 x 700 with a unit of 100: columns 602 wide, a top
  // of 2, the legend at (-895, -850).
  using enum FailureKind;
  static const struct {
    const char* name;
    int width = 1705, height = 700, rows = 2, min = 0, max = 2;
    IndexedArray<std::string> S = {0, {"1,2"}}, T = {};
    std::map<std::string, std::string> shown;
    std::optional<FailureKind> failure = {};
    int labels = 10, colours = 3;
  } cases[] = {
      // clang-format off
      {"the report's size: column 563.5 rounds to 564, unit 9, scale step 70",
       6135, 3735, 10, 0, 350, {0, {"250,262,275", "", "400,-10,0"}},
       {0, {"Shorter text", "Longest line of all.", "A"}},
       {{"rect", "500,0,6125,3235#0 3535,2185,6335,2985#80000011"},
        {"dotline", "1064,0,1064,3235#C0C0C0 1628,0,1628,3235#C0C0C0 2192,0,2192,3235#C0C0C0 "
                    "2756,0,2756,3235#C0C0C0 3320,0,3320,3235#C0C0C0 3884,0,3884,3235#C0C0C0 "
                    "4448,0,4448,3235#C0C0C0 5012,0,5012,3235#C0C0C0 5576,0,5576,3235#C0C0C0"},
        {"text", "514,3385'a' 1078,3385'b' 1642,3385'c' 2206,3385'd' 2770,3385'e' 3334,3385'f' "
                 "3898,3385'g' 4462,3385'h' 5026,3385'i' 5590,3385'j' 200,3150' 0 ' 150,2520' 70 ' "
                 "100,1890' 140 ' 100,1260' 210 ' 100,630' 280 ' 100,0' 350 ' 100,0' 350 ' "
                 "482,995' 250 ' 1046,887' 262 ' 482,-355' 400 ' 1046,3335'-10 ' "
                 "4135,2285'Shorter text' 4135,2485'Longest line of all.' 4135,2685'A'"},
        {"line", "782,985,1346,877#FF 1346,877,1910,760#FF 782,-365,1346,3325#FF0000 "
                 "1346,3325,1910,3235#FF0000"},
        {"fill", "3535,2185,6335,2985#FFFFFF 3735,2335,3935,2410#FF 3735,2535,3935,2610#FF00 "
                 "3735,2735,3935,2810#FF0000"}}},
      {"column 602.5 rounds to 602, step 13/5 rounds to 3, MinValue 5 stops the scale, S from 5, "
       "no legend texts", 1705, 700, 2, 5, 13, {5, {"7", "13,0"}}, {},
       {{"rect", "500,0,1695,200#0 -895,-850,-95,-650#80000011"},
        {"dotline", "1102,0,1102,200#C0C0C0"},
        {"text", "552,350'a' 1154,350'b' 200,195' 0 ' 200,150' 3 ' 200,105' 6 ' 150,0' 13 ' "
                 "601,15' 13 '"},
        {"line", "801,5,1403,200#FF00"},
        {"fill", "-895,-850,-95,-650#FFFFFF"}}},
      {.name = "no rows", .rows = 0, .shown = {{"last", "clear"}}, .failure = DivisionByZero},
      {.name = "a category label missing", .rows = 3, .shown = {{"last", "text 754,350'b'"}},
       .failure = IndexOutOfRange, .labels = 2},
      {.name = "an empty value", .S = {0, {"1,,2"}}, .shown = {{"last", "text 200,0' 2 '"}},
       .failure = TypeMismatch},
      {.name = "a value times the unit beyond 16 bits", .S = {0, {"1,400"}},
       .shown = {{"last", "text 200,0' 2 '"}}, .failure = Overflow},
      {.name = "a legend colour missing", .T = {0, {"a", "b"}},
       .shown = {{"last", "text -295,-750'a'"}}, .failure = IndexOutOfRange, .colours = 1},
      {.name = "a legend box beyond 16 bits", .width = 35000, .T = {0, {"a"}},
       .shown = {{"last", "line 9125,100,26375,0#FF"}}, .failure = Overflow},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    chart.setRows(c.rows);
    chart.setMinValue(c.min);
    chart.setMaxValue(c.max);
    IndexedArray<std::string> L{0, {"never"}};
    for (int i = 1; i <= c.labels; ++i) L.items.emplace_back(1, static_cast<char>('a' + i - 1));
    std::vector<Color> colours{0xFF, 0xFF00, 0xFF0000};
    colours.resize(c.colours);
    Recorder surface(c.width, c.height);
    std::optional<FailureKind> failure;
    try {
      chart.DrawGraph(surface, c.S, {c.S.first, colours}, L);
      chart.DrawLegend(surface, c.T, {0, colours});
    } catch (const Failure& f) {
      failure = f.kind();
    }
    EXPECT_EQ(failure, c.failure);
    EXPECT_EQ((failure ? decltype(c.shown){{"last", surface.last}} : surface.shown), c.shown);
  }
}

// Draws a legend of `lines` texts 2000 wide and returns the box's corners as drawn, "" for none:
// 2800 x (200 + 200 lines) at (3535, 2185) on 6135 x 3735 when not placed yet.
std::string drawLegend(Chart& chart, Recorder& on, int lines = 3) {
  on.shown.clear();
  chart.DrawLegend(on, {0, std::vector<std::string>(lines, std::string(20, 'a'))},
                   {0, std::vector<Color>(lines, 0)});
  return on.shown["fill"].substr(0, on.shown["fill"].find('#'));
}

TEST(ChartMouse, DragsTheLegendWithTheLeftButtonAndOpensTheMenuOnARightRelease) {
  static const struct {
    const char *name, *events, *effects, *box;  // box: drawn next on 9000 x 3735
  } cases[] = {
      {"a drag keeps the grab point and drops there, rounded to even; later moves do nothing",
       "p1 3600 2200 m -934.5 3200.5 r1 0 0 m 0 0",
       "show 3535,2185,2800,800; move -999.5,3185.5; hide; redraw", "-1000,3186,1800,3986"},
      {"the box's edges belong to it", "p1 6335 2985 p1 3535 2185 m 3535 2185",
       "show 3535,2185,2800,800; show 3535,2185,2800,800; move 3535,2185", "3535,2185,6335,2985"},
      {"presses beside, above or below the box, or with the right button start no drag",
       "p1 3534 2500 m 0 0 p1 6336 2500 m 0 0 p1 4000 2184 m 0 0 p1 4000 2986 m 0 0 "
       "p2 3600 2200 m 0 0 r1 0 0",
       "", "3535,2185,6335,2985"},
      {"any press ends a drag; a right release opens the menu",
       "p1 3600 2200 p2 100 100 m 0 0 r1 0 0 r2 10 20", "show 3535,2185,2800,800; hide; menu 10,20",
       "3535,2185,6335,2985"},
      {"a right release drops, then opens the menu", "p1 3600 2200 m 3700 2300 r2 3700 2300",
       "show 3535,2185,2800,800; move 3635,2285; hide; redraw; hide; menu 3700,2300",
       "3635,2285,6435,3085"},
      {"a drop at 0 puts the box at the default corner of the surface it is drawn on",
       "p1 3600 2200 m 65.25 15 r1 0 0", "show 3535,2185,2800,800; move 0.25,0; hide; redraw",
       "6400,2185,9200,2985"},
      {"a drop beyond 16 bits leaves the box where it was", "p1 3600 2200 m 40000 2200 r1 0 0",
       "show 3535,2185,2800,800; move 39935,2185; hide; redraw", "3535,2185,6335,2985"},
      {"a box taller than 16 bits: a wide outline; no drag for a grab offset beyond 16 bits",
       "p1 3600 2200 m 3600 -29985 r1 0 0 d300 p1 3600 -29900 r1 0 0 p1 3600 30000 m 0 0",
       "show 3535,2185,2800,800; move 3535,-30000; hide; redraw; show 3535,-30000,2800,60200; "
       "hide; redraw",
       "3535,-30000,6335,-29200"},
      {"without Legenda no legend and no drag", "t p1 3600 2200 m 0 0", "redraw", ""},
      {"the dropped box takes presses before it is drawn again; toggling Legenda twice keeps it",
       "p1 3600 2200 m 1000 500 r1 0 0 p1 3735 1285 r1 0 0 t t",
       "show 3535,2185,2800,800; move 935,485; hide; redraw; show 935,485,2800,800; hide; redraw; "
       "redraw; redraw",
       "935,485,3735,1285"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    Recorder recorder;
    chart.setHost(&recorder);
    drawLegend(chart, recorder);
    // "p1 x y" and "r2 x y" press and release button 1 or 2, "m x y" moves, "t" chooses "Legenda",
    // "d5" draws the legend with 5 lines.
    std::istringstream in(c.events);
    double x, y;
    for (std::string e; in >> e;) {
      if (e == "t") chart.chooseMnuLegend();
      if (e[0] == 'd') drawLegend(chart, recorder, std::stoi(e.substr(1)));
      if (e == "t" || e[0] == 'd' || !(in >> x >> y)) continue;
      if (e == "m") chart.mouseMove(x, y);
      if (e[0] == 'p') chart.mousePress(e[1] - '0', x, y);
      if (e[0] == 'r') chart.mouseRelease(e[1] - '0', x, y);
    }
    EXPECT_EQ(recorder.effects, c.effects);
    recorder.size.first = 9000;
    EXPECT_EQ(drawLegend(chart, recorder), c.box);
  }
}

TEST(ChartSettings, RestoreTheStoredOnesInOrderAndSaveThoseThatDifferFromTheirDefaults) {
  Chart chart;
  chart.setCols(2);  // restoring sets every setting, stored or not
  MemoryPropertyBag stored, saved;
  stored.write("MaxValue", "900");
  stored.write("Rows", "7");
  stored.write("MinValue", "abc");
  // Read in order: Rows and Cols are taken, MinValue fails, MaxValue is not read.
  EXPECT_FALSE(attempt([&] { chart.restore(stored); }));
  chart.save(saved);
  EXPECT_EQ(saved.writtenNames(), std::vector<std::string>{"Rows"});
  EXPECT_EQ(saved.read("Rows"), "7");
}

// --- On Qt pictures at 96 DPI, 15 twips a pixel ---

const IndexedArray<std::string> kSeries{0, {"250,262,275,287,300,312", "264,281,290,301,312", ""}};
const IndexedArray<Color> kColours{0, {0x0000FF, 0xFF0000, 0x00FF00}};
const IndexedArray<std::string> kYears{
    0, {"", "2001", "2006", "2007", "2008", "2009", "2010", "2011", "2012", "2013", "2014"}};
const IndexedArray<std::string> kLegend{0, {"Your property value", "Market Value", "Lower rate"}};

TEST(ChartPicture, DrawsOneDevicePixelLinesOnWholePixelsAtRatiosOneAndTwo) {
  for (int ratio : {1, 2}) {
    SCOPED_TRACE(ratio);
    Chart chart;
    chart.setMaxValue(350);
    chart.setRows(10);
    PainterSurface surface(96, QApplication::font());
    surface.resize(409, 249, ratio);
    chart.DrawGraph(surface, kSeries, kColours, kYears);
    chart.DrawLegend(surface, kLegend, kColours);
    const QImage image = surface.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    auto px = [&](int twips) { return twips * ratio / 15; };
    // Between the legend (bottom 2985 twips) and the scale's 0 (top 3150), beside the background
    // only the frame's black sides and the grey dotted grid lines (x = 500 + 564 i twips), none
    // blended. Below the legend's top (2185) the first swatch is the only red; below the plot,
    // labels are black.
    std::map<QRgb, std::set<int>> columns, expected{{0, {px(500), px(6125)}}};
    for (int i = 1; i <= 9; ++i) expected[0xC0C0C0].insert(px(500 + 564 * i));
    int gridPixels = 0, labelPixels = 0;
    QRect red;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb colour = image.pixel(x, y) & 0xFFFFFF;
        if (y >= px(2185) && colour == 0xFF0000) red |= QRect(x, y, 1, 1);
        labelPixels += y > px(3300) && colour == 0;
        if (y < px(3030) || y >= px(3150) || colour == 0xFFFFF6) continue;
        columns[colour].insert(x);
        gridPixels += colour == 0xC0C0C0;
      }
    }
    EXPECT_EQ(columns, expected);
    EXPECT_LT(gridPixels, 9 * 8 * ratio) << "grid lines are dotted";
    EXPECT_EQ(red, QRect(QPoint(px(3735), px(2335)), QPoint(px(3935), px(2410)))) << "swatch";
    EXPECT_GT(labelPixels, 0);
    EXPECT_EQ(image.pixel(px(3535), px(2500)) & 0xFFFFFF, 0x808080u) << "legend outline";
  }
}

TEST(ChartWidget, AsksItsHostToRedrawWhenShownAfterALegendDropAndLegenda) {
  ChartWidget widget;
  int redraws = 0;
  std::string names;
  widget.setRedrawHandler([&] { ++redraws, widget.DrawLegend(kLegend, kColours); });
  widget.setPropertyChangedHandler([&](std::string_view name) { names += name; });
  widget.chart().setRows(10);
  EXPECT_EQ(names, "Rows");
  widget.resize(409, 249);
  widget.show();
  ASSERT_EQ(widget.dpi(), 96);
  auto rgb = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_RGB32); };
  EXPECT_EQ(rgb(widget.grab()), rgb(widget.picture()));
  // In pixels: the legend box is at (235, 145), its first swatch 14 to the right and 11 down.
  QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(240, 148));
  QTest::mouseMove(&widget, QPoint(58, 169));
  EXPECT_NE(rgb(widget.grab()), rgb(widget.picture())) << "the outline is drawn over the picture";
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(58, 169));
  EXPECT_EQ(rgb(widget.picture()).pixel(73, 179) & 0xFFFFFF, 0xFF0000u) << "legend moved";
  QTest::mouseClick(&widget, Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_TRUE(widget.mnuMain()->isVisible());
  for (bool checked : {false, true}) {
    widget.mnuLegend()->trigger();
    EXPECT_EQ(widget.mnuLegend()->isChecked(), checked);
  }
  EXPECT_EQ(redraws, 4) << "shown, dropped, Legenda twice; none for the drag";
  // A failure of the host's drawing stays out of the event loop.
  widget.setRedrawHandler([] { throw Failure(FailureKind::DivisionByZero); });
  EXPECT_NO_THROW(widget.resize(420, 260));
}

}  // namespace
}  // namespace korvane
