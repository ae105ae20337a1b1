#include "desktop_link_opener.h"

#include "platform/qt_text.h"

#include <QDesktopServices>
#include <QUrl>

namespace korvane {

void DesktopLinkOpener::open(std::string_view address) {
  QDesktopServices::openUrl(QUrl(toQString(address)));
}

}  // namespace korvane
