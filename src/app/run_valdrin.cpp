#include "app/run_valdrin.h"

#include "front/event_loop_waiter.h"
#include "net/fetch.h"
#include "net/hidden_pane.h"
#include "platform/desktop_link_opener.h"
#include "platform/qt_message_boxes.h"
#include "platform/window_fonts.h"

#include <QApplication>
#include <QIcon>

#include <utility>

namespace korvane {

int runValdrin(ProgramSettings settings, const std::function<void(Program&)>& beforeStart) {
  QApplication::setApplicationName("Korvane");
  QApplication::setWindowIcon(QIcon(":/assets/korvane.svg"));
  // Message boxes and menus in the windows' own font.
  QApplication::setFont(windowFont());

  QtMessageBoxes messages;
  DesktopLinkOpener links;
  EventLoopWaiter waiter;
  PageFetcher pages;
  HiddenPane runBrowser;
  HiddenPane reportBrowser;

  Program program(std::move(settings), {messages, links, pages, waiter, runBrowser, reportBrowser},
                  [] { QApplication::quit(); });
  if (beforeStart) beforeStart(program);
  program.start();
  return QApplication::exec();
}

}  // namespace korvane
