// valdrin: the Korvane desktop program.

#include "app/loaded_network.h"
#include "app/program.h"
#include "front/event_loop_waiter.h"
#include "platform/desktop_link_opener.h"
#include "platform/qt_message_boxes.h"
#include "platform/svg_icon.h"
#include "platform/window_fonts.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Korvane");
  QApplication::setApplicationVersion(KORVANE_VERSION);
  QApplication::setWindowIcon(korvane::svgIcon(":/assets/korvane.svg"));
  // Message boxes and menus in the windows' own font.
  QApplication::setFont(korvane::windowFont());

  korvane::QtMessageBoxes messages;
  korvane::DesktopLinkOpener links;
  korvane::EventLoopWaiter waiter;
  korvane::LoadedNetwork network;
  const auto runBrowser = network.newBrowserPane();
  const auto reportBrowser = network.newBrowserPane();

  korvane::Program program({KORVANE_LISTING_HOST, KORVANE_MAKER_SITE, KORVANE_ADVERT_EMAIL,
                            QApplication::applicationDirPath().toStdString()},
                           {messages, links, network.pages(), waiter, *runBrowser, *reportBrowser},
                           [] { QApplication::quit(); });
  program.start();
  return QApplication::exec();
}
