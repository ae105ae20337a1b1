#pragma once

// An editable drop-down list as the windows were designed with: a text field with a list to pick
// from, where typing does not complete from the list. QComboBox::setEditable builds a completer
// with its own pop-up and the list's pop-up straight away, about a sixth of the main window's
// start-up for three lists; this one has neither until its list is first opened.

#include <QComboBox>

namespace korvane {

class DropDownList final : public QComboBox {
  Q_OBJECT

 public:
  explicit DropDownList(QWidget* parent = nullptr);

  void showPopup() override;

 signals:
  // Enter or Return in the list's text field, with its pop-up closed.
  void returnPressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool m_popupPrepared = false;
};

}  // namespace korvane
