#include "qt_message_boxes.h"

#include "platform/qt_text.h"

#include <QMessageBox>

namespace korvane {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtMessageBoxes::QtMessageBoxes(QWidget* parent) : m_parent(parent) {}

void QtMessageBoxes::show(std::string_view text, std::string_view title, MessageIcon icon) {
  // A label breaks lines at LF; the CR of a CR LF would show as a stray glyph.
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(boxIcon(icon), toQString(title), shown, QMessageBox::Ok, m_parent);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace korvane
