#pragma once

// A picture control: one of the program's SVG pictures stretched to the control's box, so it stays
// crisp at any scale. A click handler makes it clickable. Where the build drew the picture ahead
// at the control's size in device pixels, those pixels are shown and the SVG is never read.

#include "platform/click_tracker.h"

#include <QWidget>

#include <functional>
#include <memory>

class QSvgRenderer;

namespace korvane {

class SvgPicture final : public QWidget {
  Q_OBJECT

 public:
  // Shows the SVG file or resource at path; a missing picture leaves the control empty.
  explicit SvgPicture(const QString& path, QWidget* parent = nullptr);
  ~SvgPicture() override;
  Q_DISABLE_COPY_MOVE(SvgPicture)

  // False when the picture could not be read.
  bool isValid() const;

  // True when the control shows pixels the build drew at its present size on its screen.
  bool isDrawnAhead() const;

  // Runs onClick after a left-button press and release over the picture.
  void setOnClick(std::function<void()> onClick);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QSize devicePixels(qreal ratio) const;
  // Read on first use.
  QSvgRenderer& renderer() const;

  QString m_path;
  mutable std::unique_ptr<QSvgRenderer> m_renderer;
  std::function<void()> m_onClick;
  ClickTracker m_click;
};

}  // namespace korvane
