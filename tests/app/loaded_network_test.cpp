#include "app/loaded_network.h"

#include "support/loopback_server.h"
#include "util/program_end.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <dlfcn.h>

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace korvane {
namespace {

// True when the process has Qt Network loaded.
bool qtNetworkLoaded() {
  void* library = ::dlopen("libQt6Network.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (library == nullptr) return false;
  ::dlclose(library);
  return true;
}

bool processEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(std::chrono::seconds(5));
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// The first test to run in this program: nothing has loaded the module yet.
TEST(LoadedNetwork, LoadsQtNetworkOnlyWhenTheFirstPageIsAskedFor) {
  test::LoopbackServer server;
  server.serve("/page", 200, "a page");
  LoadedNetwork network;
  const auto pane = network.newBrowserPane();
  EXPECT_FALSE(qtNetworkLoaded());
  EXPECT_EQ(network.pages().fetch(server.url("/page")), "a page");
  EXPECT_TRUE(qtNetworkLoaded());
}

TEST(LoadedNetwork, FetchesEveryByteThroughTheModule) {
  test::LoopbackServer server;
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  server.serve("/bytes", 200, bytes, "application/octet-stream");
  LoadedNetwork network;
  EXPECT_EQ(network.pages().fetch(server.url("/bytes")), bytes);
  EXPECT_EQ(network.pages().fetch(server.url("/missing")), "");
}

TEST(LoadedNetwork, PanesLoadTheirAddressesThroughTheModule) {
  test::LoopbackServer server;
  server.serve("/", 200, "<html>maker</html>");
  LoadedNetwork network;
  const auto first = network.newBrowserPane();
  const auto second = network.newBrowserPane();
  first->navigate(server.url("/"));
  second->navigate(server.url("/?second"));
  ASSERT_TRUE(processEventsUntil([&] { return server.requests().size() == 2; }));
}

// The module has no state of its own for the program's end: it must see the program's signal,
// or a download could start after the progress window has been closed.
TEST(LoadedNetwork, TheModuleSeesTheProgramEnding) {
  test::LoopbackServer server;
  server.serve("/page", 200, "a page");
  LoadedNetwork network;
  requestProgramEnd();
  const std::string page = network.pages().fetch(server.url("/page"));
  resetProgramEnd();
  EXPECT_EQ(page, "");
  EXPECT_TRUE(server.requests().empty());
}

TEST(LoadedNetwork, WithoutItsModuleEveryPageIsEmptyAndPanesLoadNothing) {
  test::LoopbackServer server;
  server.serve("/page", 200, "a page");
  LoadedNetwork network("korvane-no-such-module.so");
  EXPECT_EQ(network.network(), nullptr);
  EXPECT_EQ(network.pages().fetch(server.url("/page")), "");
  const auto pane = network.newBrowserPane();
  pane->navigate(server.url("/page"));
  QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace korvane
