#pragma once

// A picture control: one of the program's SVG pictures stretched to the control's box, so it stays
// crisp at any scale. A click handler makes it clickable.

#include "platform/click_tracker.h"

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

#include <functional>

namespace korvane {

class SvgPicture final : public QWidget {
  Q_OBJECT

 public:
  // Shows the SVG file or resource at path; a missing picture leaves the control empty.
  explicit SvgPicture(const QString& path, QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(SvgPicture)

  // False when the picture could not be read.
  bool isValid() const { return m_renderer.isValid(); }

  // Runs onClick after a left-button press and release over the picture.
  void setOnClick(std::function<void()> onClick);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QSvgRenderer m_renderer;
  // The picture drawn for the last size and pixel ratio painted, so a repaint only copies pixels.
  QPixmap m_drawn;
  std::function<void()> m_onClick;
  ClickTracker m_click;
};

}  // namespace korvane
