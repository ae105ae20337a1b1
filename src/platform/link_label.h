#pragma once

// A label that reacts to a click: the windows' links to web pages and to another valuation.

#include "platform/click_tracker.h"

#include <QLabel>

#include <functional>

namespace korvane {

class LinkLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& caption, QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(LinkLabel)

  // Runs onClick after a left-button press and release over the label.
  void setOnClick(std::function<void()> onClick);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> m_onClick;
  ClickTracker m_click;
};

}  // namespace korvane
