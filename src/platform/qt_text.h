#pragma once

// The widget boundary: the program's Windows-1252 text to and from QString.

#include <QString>

#include <string>
#include <string_view>

namespace korvane {

// Text from the run for a widget: valid multi-byte UTF-8 (a page's Welsh street name) is shown
// as UTF-8, anything else as Windows-1252.
QString toQString(std::string_view bytes);

// What the user typed, as Windows-1252 bytes; characters outside the code page become "?".
std::string fromQString(const QString& text);

}  // namespace korvane
