#include "platform/qt_text.h"

#include "util/codepage.h"

namespace korvane {

QString toQString(std::string_view bytes) { return QString::fromStdString(displayUtf8(bytes)); }

std::string fromQString(const QString& text) { return utf8ToCp1252(text.toStdString()); }

}  // namespace korvane
