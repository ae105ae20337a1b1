#pragma once

// A picture control: one of the program's SVG pictures stretched to the control's box, so it stays
// crisp at any scale. A click handler makes it clickable, with the mouse or from the keyboard, and
// assistive tools then see it as a push button named by its accessible name.

#include "platform/clickable.h"

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

  // Runs onClick on each click: a left-button press and release over the picture, or Enter,
  // Return or Space while it has the focus.
  void setOnClick(std::function<void()> onClick) { m_clicking.setOnClick(std::move(onClick)); }
  const Clickable& clicking() const { return m_clicking; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void drawPicture();

  QSvgRenderer m_renderer;
  // The picture drawn for the last size and pixel ratio painted, so a repaint only copies pixels.
  QPixmap m_drawn;
  Clickable m_clicking{*this, QAccessible::Button};
};

}  // namespace korvane
