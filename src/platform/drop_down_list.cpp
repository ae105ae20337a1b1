#include "drop_down_list.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace korvane {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent) {
  auto* edit = new QLineEdit(this);
  edit->setPalette(palette());
  // A completer without a list completes nothing; with one in place the combo box makes none.
  auto* completer = new QCompleter(edit);
  completer->setCompletionMode(QCompleter::InlineCompletion);
  edit->setCompleter(completer);
  setLineEdit(edit);
}

void DropDownList::showPopup() {
  if (!m_popupPrepared) {
    m_popupPrepared = true;
    // What setEditable would have done: styles with a pop-up list scroll it as needed.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
      view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  }
  QComboBox::showPopup();
}

void DropDownList::keyPressEvent(QKeyEvent* event) {
  // The text field has had Enter first; QComboBox would hand it back for a second time. It goes on
  // to the window instead.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->ignore();
    return;
  }
  QComboBox::keyPressEvent(event);
}

}  // namespace korvane
