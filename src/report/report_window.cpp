#include "report_window.h"

#include "chart/chart_widget.h"
#include "platform/link_label.h"
#include "platform/link_opener.h"
#include "platform/qt_text.h"
#include "platform/rule_line.h"
#include "platform/svg_picture.h"
#include "platform/twips.h"
#include "platform/window_fonts.h"
#include "report/chart_description.h"
#include "report/chart_top.h"
#include "util/basic.h"
#include "util/run_buffer.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace korvane {

namespace {

constexpr Color kRed = 255;
constexpr Color kBlue = 16711680;
constexpr Color kGreen = 65280;

const QColor kCaptionYellow(0xFF, 0xFF, 0x00);
const QColor kCaptionWhite(0xFF, 0xFF, 0xFF);
const QColor kLinkBlue(0x00, 0x00, 0xFF);

QLabel* reportLabel(QWidget* parent, const char* name, const QString& text, const QRect& box,
                    const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setFont(designFont("Arial", 8.25, true));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setGeometry(box);
  return label;
}

void picture(QWidget* parent, const char* name, const char* path, const QRect& box) {
  auto* image = new SvgPicture(path, parent);
  image->setObjectName(name);
  image->setGeometry(box);
}

}  // namespace

frm_report::frm_report(std::string makerSite, RunBuffer& buffer, LinkOpener& links,
                       BrowserPane& webBrowser1, std::function<void()> onUnload,
                       std::function<void()> onEvaluateAnother, QWidget* parent)
    : ProgramWindow({"frm_report", toQString("Korvane - " + makerSite), 6825, 8310, false, true},
                    std::move(onUnload), parent),
      m_makerSite(std::move(makerSite)),
      m_buffer(buffer),
      m_linkOpener(links),
      m_webBrowser1(webBrowser1),
      m_onEvaluateAnother(std::move(onEvaluateAnother)) {
  setWindowIcon(QIcon(":/assets/korvane.svg"));

  buildPictures();
  buildCaptions();
  buildLinks();

  m_chart = new ChartWidget(this);
  m_chart->setObjectName("Chart1");
  m_chart->setAccessibleName("Your property value against the market");
  m_chart->setRedrawHandler([this] { RefreshGraph(); });
  m_chart->setGeometry(pxRect(360, 3600, 6135, 3735));
  // Tab goes from the chart along the links and Exit, then down to another valuation.
  QWidget* const order[] = {m_chart, m_links9, m_links2, m_links5, m_exit, m_another};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  // WebBrowser1 lies beyond the right edge of the client area, so the user never sees it.
  auto* pane = new QWidget(this);
  pane->setObjectName("WebBrowser1");
  pane->setGeometry(pxRect(8880, 1800, 1695, 2295));
}

void frm_report::buildPictures() {
  picture(this, "frmimg", ":/assets/report_background.svg", pxRect(0, 0, 6840, 7440));
  addWhiteRule(this, "Line1", 1800, 5880, 840);
  picture(this, "Image3", ":/assets/report_icon_house.svg", pxRect(1200, 840, 360, 360));
  addWhiteRule(this, "Line2", 1800, 5880, 1200);
  picture(this, "Image1", ":/assets/report_icon_future.svg", pxRect(120, 1320, 480, 480));
  picture(this, "Image2", ":/assets/report_icon_past.svg", pxRect(120, 2040, 465, 465));
  picture(this, "Image4", ":/assets/report_icon_average.svg", pxRect(120, 2760, 480, 465));
}

void frm_report::buildCaptions() {
  m_heading = reportLabel(this, "Label4", "Report", pxRect(1800, 960, 3855, 255), kCaptionYellow);
  QLabel* inFiveYears = reportLabel(this, "Label1", "Estimated property value in 5 years:",
                                    pxRect(720, 1440, 3015, 255), kCaptionWhite);
  m_inFiveYears = reportLabel(this, "LBL_ESTVALUE5YEARS", toQString("\xA3"),
                              pxRect(1800, 1800, 2655, 255), kCaptionYellow);
  QLabel* fiveYearsAgo = reportLabel(this, "Label3", "Estimated property value 5 years ago:",
                                     pxRect(720, 2160, 3375, 255), kCaptionWhite);
  m_fiveYearsAgo = reportLabel(this, "LBL_DIFFERENCE", toQString("\xA3"),
                               pxRect(1800, 2520, 2655, 255), kCaptionYellow);
  QLabel* average = reportLabel(this, "Label6", "Average property sale value in your area:",
                                pxRect(720, 2880, 3615, 255), kCaptionWhite);
  m_average = reportLabel(this, "LBL_AVERAGEPROPERTYVALUE", toQString("\xA3"),
                          pxRect(1800, 3240, 2655, 255), kCaptionYellow);
  m_valueCaptions = {
      {m_inFiveYears, inFiveYears}, {m_fiveYearsAgo, fiveYearsAgo}, {m_average, average}};
  for (QLabel* value : {m_inFiveYears, m_fiveYearsAgo, m_average}) nameValue(value);
}

void frm_report::buildLinks() {
  const auto link = [this](const char* name, const char* text, const QRect& box) {
    auto* label = new LinkLabel(text, this);
    label->setObjectName(name);
    label->setFont(designFont("MS Sans Serif", 8.25, true, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLinkBlue);
    label->setPalette(palette);
    label->setGeometry(box);
    return label;
  };
  m_links9 = link("Label9", "Link to our website", pxRect(120, 7560, 1695, 255));
  m_links2 = link("Label2", "More Tools", pxRect(2040, 7560, 1095, 255));
  m_links5 = link("Label5", "Visit our website", pxRect(3360, 7560, 1575, 255));
  m_another = link("Label7", "Evaluate another post code", pxRect(120, 7920, 2415, 255));
  m_links9->setOnClick([this] { m_linkOpener.open(m_makerSite + "/links.html"); });
  m_links2->setOnClick([this] { m_linkOpener.open(m_makerSite + "/mortgage-tools.html"); });
  m_links5->setOnClick([this] { m_linkOpener.open(m_makerSite); });
  m_another->setOnClick([this] {
    if (m_onEvaluateAnother) m_onEvaluateAnother();
  });

  m_exit = new QPushButton("&Exit", this);
  m_exit->setObjectName("Command1");
  m_exit->setGeometry(pxRect(5280, 7560, 1455, 375));
  connect(m_exit, &QPushButton::clicked, this, [this] { close(); });
}

void frm_report::Form_Load() {
  RefreshGraph();
  show();
  m_webBrowser1.navigate(m_makerSite);
}

QLabel* frm_report::label(ReportLabel which) const {
  switch (which) {
    case ReportLabel::LBL_AVERAGEPROPERTYVALUE:
      return m_average;
    case ReportLabel::LBL_ESTVALUE5YEARS:
      return m_inFiveYears;
    case ReportLabel::LBL_DIFFERENCE:
      return m_fiveYearsAgo;
    case ReportLabel::Label4:
      return m_heading;
  }
  return m_heading;
}

void frm_report::setCaption(ReportLabel which, std::string_view caption) {
  label(which)->setText(toQString(caption));
  nameValue(label(which));
}

void frm_report::nameValue(QLabel* value) {
  // A value is read together with the caption above it.
  if (const QLabel* caption = m_valueCaptions.value(value))
    value->setAccessibleName(caption->text() + QLatin1Char(' ') + value->text());
}

void frm_report::show() { QWidget::show(); }

void frm_report::RefreshGraph() {
  IndexedArray<std::string> rowCaption{0, {""}};
  attempt([&] {
    rowCaption.items = {"",     "2001", "2006", "2007", "2008", "2009",
                        "2010", "2011", "2012", "2013", "2014"};
  });
  IndexedArray<std::string> linesArray{0, {"", "", ""}};
  IndexedArray<Color> colorArray{0, {0, 0, 0}};
  attempt([&] {
    linesArray.items[0] = m_buffer.text("gph_array");
    colorArray.items[0] = kRed;
  });
  attempt([&] {
    linesArray.items[1] = m_buffer.text("gph_marketarray");
    colorArray.items[1] = kBlue;
  });
  attempt([&] { colorArray.items[2] = kGreen; });

  Chart& chart = m_chart->chart();
  std::int16_t top = 0;
  bool topKnown = false;
  attempt([&] {
    top = chartTop(m_buffer.text("txt_num"), linesArray.items[0], linesArray.items[1]);
    topKnown = true;
  });
  if (topKnown) chart.setMaxValue(top);
  chart.setMinValue(0);
  chart.setRows(10);
  chart.setCols(3);
  attempt([&] { m_chart->DrawGraph(linesArray, colorArray, rowCaption); });
  const IndexedArray<std::string> legendArray{
      0, {"Your property value", "Market Value", "Market at lower rate"}};
  attempt([&] { m_chart->DrawLegend(legendArray, colorArray); });

  // The chart in words for assistive tools: the series against the years their values stand at.
  const auto& legend = chart.legend();
  const std::vector<std::string> years(rowCaption.items.begin() + 1, rowCaption.items.end());
  m_chart->setAccessibleDescription(toQString(
      chartDescription(years, linesArray.items[0], linesArray.items[1],
                       chart.mnuLegendChecked()
                           ? std::optional(ChartBox{double(legend.left), double(legend.top),
                                                    double(legend.right), double(legend.bottom)})
                           : std::nullopt,
                       m_chart->widthTwips(), m_chart->heightTwips())));
}

}  // namespace korvane
