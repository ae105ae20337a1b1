#pragma once

// A chart Surface that keeps its picture in a QPixmap: twips become logical pixels at a given
// DPI and the pixmap's device pixel ratio gives the device pixels, so lines stay one device
// pixel wide and text is rendered at full device resolution.

#include "chart/surface.h"

#include <QFont>
#include <QPixmap>
#include <QRectF>

#include <memory>

class QPainter;

namespace korvane {

class PainterSurface final : public Surface {
 public:
  // An empty picture; dpi maps twips to logical pixels; font is the text font.
  PainterSurface(double dpi, const QFont& font);
  ~PainterSurface() override;
  PainterSurface(const PainterSurface&) = delete;
  PainterSurface& operator=(const PainterSurface&) = delete;

  // Gives the picture a new size in logical pixels at this device pixel ratio. What was drawn
  // stays at the top-left; new area shows the background colour.
  void resize(int widthPixels, int heightPixels, double devicePixelRatio);
  // The finished picture: ends any drawing in progress.
  const QPixmap& pixmap();
  // Ends drawing in progress so that the pixmap can be shown; drawing may continue afterwards.
  void finish();
  double dpi() const { return m_dpi; }

  double width() const override;
  double height() const override;
  void clear() override;
  void setBackground(Color color) override;
  void setLineStyle(LineStyle style) override;
  void line(double x1, double y1, double x2, double y2, Color color) override;
  void rectangle(double x1, double y1, double x2, double y2, Color color) override;
  void filledRectangle(double x1, double y1, double x2, double y2, Color color) override;
  double currentX() const override { return m_x; }
  double currentY() const override { return m_y; }
  void setCurrent(double x, double y) override;
  double textWidth(std::string_view text) const override;
  double textHeight(std::string_view text) const override;
  void drawText(std::string_view text) override;

 private:
  double toPixels(double twips) const { return twips * m_dpi / 1440.0; }
  double toTwips(double pixels) const { return pixels * 1440.0 / m_dpi; }
  // The device pixel that holds a point, and the logical coordinate of that pixel's centre.
  double devicePixel(double twips) const;
  double pixelCentre(double twips) const;
  QRectF pixelBox(double x1, double y1, double x2, double y2) const;
  QPainter& painter();
  void preparePen(Color color);

  double m_dpi;
  QFont m_font;
  QPixmap m_pixmap;
  std::unique_ptr<QPainter> m_painter;  // open only while drawing
  Color m_background = 0xF0F0F0;
  LineStyle m_style = LineStyle::Solid;
  double m_x = 0;
  double m_y = 0;
};

}  // namespace korvane
