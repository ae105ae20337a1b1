#pragma once

// A label that reacts to a click, with the mouse or from the keyboard: the windows' links to web
// pages and to another valuation. Assistive tools see it as a link named by its caption.

#include "platform/clickable.h"

#include <QLabel>

namespace korvane {

class LinkLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& caption, QWidget* parent = nullptr);
  Q_DISABLE_COPY_MOVE(LinkLabel)

  // Runs onClick on each click: a left-button press and release over the label, or Enter,
  // Return or Space while it has the focus.
  void setOnClick(std::function<void()> onClick) { m_clicking.setOnClick(std::move(onClick)); }
  const Clickable& clicking() const { return m_clicking; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Clickable m_clicking{*this, QAccessible::Link};
};

}  // namespace korvane
