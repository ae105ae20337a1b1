#include "app/run_valdrin.h"

#include "app/loaded_network.h"
#include "front/event_loop_waiter.h"
#include "platform/desktop_link_opener.h"
#include "platform/qt_message_boxes.h"
#include "platform/svg_icon.h"
#include "platform/window_fonts.h"

#include <QApplication>

namespace korvane {

int runValdrin(const ValdrinSites& sites, const std::function<void(Program&)>& beforeStart) {
  QApplication::setApplicationName("Korvane");
  QApplication::setWindowIcon(svgIcon(":/assets/korvane.svg"));
  // Message boxes and menus in the windows' own font.
  QApplication::setFont(windowFont());

  QtMessageBoxes messages;
  DesktopLinkOpener links;
  EventLoopWaiter waiter;
  LoadedNetwork network;
  const auto runBrowser = network.newBrowserPane();
  const auto reportBrowser = network.newBrowserPane();

  Program program({sites.listingHost, sites.makerSite, sites.advertEmail,
                   QApplication::applicationDirPath().toStdString()},
                  {messages, links, network.pages(), waiter, *runBrowser, *reportBrowser},
                  [] { QApplication::quit(); });
  if (beforeStart) beforeStart(program);
  program.start();
  return QApplication::exec();
}

}  // namespace korvane
