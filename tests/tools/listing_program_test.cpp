// The korvane-listing program: its command line, the port line on standard output, and a
// clean end on SIGINT and SIGTERM.

#include "support/files.h"

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// The program running in a child process, its standard output on a pipe.
class SiteProcess {
 public:
  explicit SiteProcess(std::vector<std::string> args) {
    args.insert(args.begin(), KORVANE_LISTING_PROGRAM);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    m_out = out[0];
  }

  ~SiteProcess() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0) close(m_out);
  }

  // The first line the program writes, or "" when it writes none within 10 seconds.
  std::string firstLine() {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd ready{m_out, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char c;
      if (read(m_out, &c, 1) != 1 || c == '\n') return line;
      line += c;
    }
    return line;
  }

  // The exit status once the program ends (-1 when it ends by a signal or not within 10 s).
  int exitStatus() {
    for (int i = 0; i < 100; ++i) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(100'000);
    }
    return -1;
  }

  void signal(int number) { kill(m_pid, number); }

 private:
  pid_t m_pid = -1;
  int m_out = -1;
};

TEST(ListingProgramTest, ServesOnTheAnnouncedPortUntilASignalEndsItCleanly) {
  for (int stopSignal : {SIGTERM, SIGINT}) {
    SiteProcess site({"--port", "0", "--bind", "127.0.0.1"});
    const int port = std::atoi(site.firstLine().c_str());
    ASSERT_GT(port, 0);

    httplib::Client client("127.0.0.1", port);
    auto page = client.Get("/index.php?con=sold_prices_street&cCode=EW&postcode=ts247pw");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("Raby Road"), std::string::npos);

    site.signal(stopSignal);
    EXPECT_EQ(site.exitStatus(), 0) << strsignal(stopSignal);
  }
}

TEST(ListingProgramTest, ReadsTheDataFolderItIsGiven) {
  korvane::test::TempDir data;
  korvane::test::writeBytes(data / "one.csv",
                            "postcode,street,house,date,price\nAB1 2CD,Test Row,1,2020-01-01,1\n");
  SiteProcess site({"--port", "0", "--data", data.path().string()});
  const int port = std::atoi(site.firstLine().c_str());
  ASSERT_GT(port, 0);
  httplib::Client client("127.0.0.1", port);
  auto known = client.Get("/index.php?con=sold_prices_street&cCode=EW&postcode=AB12CD");
  auto bundled = client.Get("/index.php?con=sold_prices_street&cCode=EW&postcode=TS24%207PW");
  ASSERT_TRUE(known);
  ASSERT_TRUE(bundled);
  EXPECT_NE(known->body.find("Test Row"), std::string::npos);
  EXPECT_NE(bundled->body.find("No sales found"), std::string::npos);
}

TEST(ListingProgramTest, RefusesABadCommandLineOrData) {
  korvane::test::TempDir empty;
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"--port", "65536"}, 2},
      {{"--port", "-1"}, 2},
      {{"--port", "80x"}, 2},
      {{"--port"}, 2},
      {{"--colour", "red"}, 2},
      {{"--port", "0", "--data", empty.path().string()}, 1},
      {{"--port", "0", "--bind", "not-an-address"}, 1},
  };
  for (const auto& c : cases) {
    SiteProcess site(c.args);
    EXPECT_EQ(site.exitStatus(), c.status) << testing::PrintToString(c.args);
  }
}

}  // namespace
