#pragma once

// Message boxes on the desktop: QMessageBox, application-modal, one OK button.

#include "base/message_boxes.h"

class QWidget;

namespace korvane {

class QtMessageBoxes final : public MessageBoxes {
 public:
  // parent: the window the boxes are centred on; null centres them on the screen.
  explicit QtMessageBoxes(QWidget* parent = nullptr);
  // Shows the box and returns once OK (or Escape) dismisses it. Never fails.
  void show(std::string_view text, std::string_view title, MessageIcon icon) override;

 private:
  QWidget* m_parent;
};

}  // namespace korvane
