#include "qt_message_boxes.h"

#include "base/qt_message_icon.h"
#include "platform/qt_text.h"

#include <QMessageBox>

namespace korvane {

QtMessageBoxes::QtMessageBoxes(QWidget* parent) : m_parent(parent) {}

void QtMessageBoxes::show(std::string_view text, std::string_view title, MessageIcon icon) {
  // A label breaks lines at LF; the CR of a CR LF would show as a stray glyph.
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(qtMessageIcon(icon), toQString(title), shown, QMessageBox::Ok, m_parent);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace korvane
