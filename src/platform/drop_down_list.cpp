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
  // On a display Enter comes to the list, which has the focus for its text field; a key given to
  // the text field itself comes on to the list once the field has ignored it. Either way it is
  // told here once, and QComboBox does not hand it to the field a second time. With the pop-up
  // open, Enter never comes here: the pop-up takes it to pick its entry.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    emit returnPressed();
    return;
  }
  QComboBox::keyPressEvent(event);
}

}  // namespace korvane
