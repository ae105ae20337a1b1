#include "net/hidden_pane.h"

#include "support/loopback_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace korvane {
namespace {

// Processes events until done() holds or five seconds have passed; returns done().
bool processEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(std::chrono::seconds(5));
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

void settle(std::chrono::milliseconds time) {
  QDeadlineTimer deadline(time);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(HiddenPane, LoadsTheAddressWithOneGetAndNeverBlocks) {
  test::LoopbackServer server;
  // The answer never completes: navigate must return all the same.
  server.stall("/", 1000, "<html>");
  auto pane = std::make_unique<HiddenPane>();
  pane->navigate(server.url("/"));
  ASSERT_TRUE(processEventsUntil([&] { return !server.requests().empty(); }));
  settle(std::chrono::milliseconds(200));

  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].method, "GET");
  EXPECT_EQ(server.requests()[0].target, "/");
  // Dropping the pane with its load still under way aborts the load.
  pane.reset();
  settle(std::chrono::milliseconds(50));
}

}  // namespace
}  // namespace korvane
