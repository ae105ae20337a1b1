// The korvane-listing program: its command line, the port line, signals, where it keeps its
// database, and imports that are killed or that run while it serves.

#include "listing/listing_db.h"
#include "listing/sold_prices.h"
#include "tools/price_paid_rows.h"

#include "support/files.h"

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace korvane {
namespace {

using testing::HasSubstr;

// korvane-listing in a child process with XDG_DATA_HOME set to `dataHome`; its standard output on
// a pipe, its standard error on a terminal of its own (so an import shows its progress).
class Program {
 public:
  Program(const std::filesystem::path& dataHome, std::vector<std::string> args) {
    args.insert(args.begin(), KORVANE_LISTING_PROGRAM);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = {"XDG_DATA_HOME=" + dataHome.string()};
    for (char** variable = environ; *variable; ++variable)
      if (std::strncmp(*variable, "XDG_DATA_HOME=", 14) != 0) environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);

    int out[2];
    int terminal = -1;
    if (pipe(out) != 0 || openpty(&m_err, &terminal, nullptr, nullptr, nullptr) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, terminal, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, m_err);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(terminal);
    m_out = out[0];
  }

  ~Program() {
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    close(m_out);
    close(m_err);
  }

  // The first line on standard output, or "" when none comes within 20 seconds.
  std::string firstLine() {
    readUntil(m_out, m_stdout, "\n");
    return m_stdout.substr(0, m_stdout.find('\n'));
  }
  // Waits (at most 20 seconds) until standard error holds `text`; returns all it holds.
  const std::string& errorsUntil(const std::string& text) {
    readUntil(m_err, m_stderr, text);
    return m_stderr;
  }

  // The exit status once the program ends, 128 + the signal that ended it, or -1 when it does
  // not end within 20 seconds.
  int exitStatus() {
    for (int i = 0; i < 2000 && running(); ++i) usleep(10'000);
    return m_status;
  }
  // True until the program has ended; reads what it wrote to standard error meanwhile.
  bool running() {
    readUntil(m_err, m_stderr, {}, 0);
    int status = 0;
    if (m_pid <= 0 || waitpid(m_pid, &status, WNOHANG) != m_pid) return m_pid > 0;
    m_pid = -1;
    readUntil(m_err, m_stderr, {}, 0);
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  void signal(int number) { kill(m_pid, number); }
  const std::string& errors() const { return m_stderr; }

 private:
  // Reads from `fd` into `seen` until it holds `until` (or, for "", until nothing is ready).
  static void readUntil(int fd, std::string& seen, const std::string& until, int waitMs = 20'000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (until.empty() || seen.find(until) == std::string::npos) {
      pollfd ready{fd, POLLIN, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (poll(&ready, 1, std::max<int>(0, left.count())) <= 0) break;
      char buffer[4096];
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got <= 0) break;
      seen.append(buffer, static_cast<size_t>(got));
    }
  }

  pid_t m_pid = -1;
  int m_status = -1;
  int m_out = -1, m_err = -1;
  std::string m_stdout, m_stderr;
};

std::string soldPricesPath(const std::string& postcode) {
  return "/index.php?con=sold_prices_street&cCode=EW&postcode=" + postcode;
}

// A file that takes a while to import: `count` sales in post codes of their own.
std::string manySales(int count, int firstSale) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string postcode = "ZZ" + std::to_string(i % 90 + 10) + " " + std::to_string(i);
    text += test::pricePaidLine({.sale = firstSale + i, .postcode = postcode.c_str()}) + "\n";
  }
  return text;
}

class ListingProgramTest : public testing::Test {
 protected:
  test::TempDir m_home;
  const std::filesystem::path m_database = m_home / "korvane" / "listing.sqlite";
};

TEST_F(ListingProgramTest, ServesOnTheAnnouncedPortUntilASignalEndsItCleanly) {
  for (int stopSignal : {SIGTERM, SIGINT}) {
    Program site(m_home.path(), {"serve", "--port", "0", "--bind", "127.0.0.1"});
    const int port = std::atoi(site.firstLine().c_str());
    ASSERT_GT(port, 0);
    httplib::Client client("127.0.0.1", port);
    auto page = client.Get(soldPricesPath("ts247pw"));
    ASSERT_TRUE(page);
    EXPECT_THAT(page->body, HasSubstr("Raby Road"));
    site.signal(stopSignal);
    EXPECT_EQ(site.exitStatus(), 0) << strsignal(stopSignal);
  }
}

TEST_F(ListingProgramTest, RefusesABadCommandLineOrWhatItCannotUse) {
  test::writeBytes(m_home / "notes.txt", "not a database");
  static const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } cases[] = {
      {{"serve", "--port", "65536"}, 2, "--port needs a number from 0 to 65535"},
      {{"serve", "--years", "0"}, 2, "--years needs a number from 1 to 100"},
      {{"serve", "--port"}, 2, "--port needs a value"},
      {{"serve", "pp.csv"}, 2, "serve takes no files"},
      {{"import"}, 2, "import needs at least one"},
      {{"import", "pp.csv", "--port", "1"}, 2, "--port: unknown option"},
      {{"export"}, 2, "export: unknown command"},
      {{"serve", "--db", "/nowhere/listing.sqlite"}, 1, "/nowhere/listing.sqlite: no listing"},
      {{"serve", "--db", (m_home / "notes.txt").string()}, 1, "notes.txt: cannot be read"},
      {{"serve", "--port", "0", "--bind", "not-an-address"}, 1, "cannot listen on"},
      {{"import", "/nowhere/pp.csv"}, 1, "/nowhere/pp.csv: cannot be read"},
      {{"import", "x.csv", "--db", (m_home / "notes.txt" / "db").string()},
       1,
       "notes.txt: cannot be made"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    Program program(m_home.path(), c.args);
    EXPECT_EQ(program.exitStatus(), c.status);
    EXPECT_THAT(program.errors(), HasSubstr(c.says));
  }
}

TEST_F(ListingProgramTest, ServesTheImportAtTheDefaultPlaceOnceThereIsOne) {
  test::writeBytes(m_home / "pp.csv",
                   test::pricePaidFile({{.sale = 1, .postcode = "TS24 7PW", .street = "KING ST"}}) +
                       "\"broken\n");
  Program import(m_home.path(), {"import", (m_home / "pp.csv").string()});
  EXPECT_THAT(import.firstLine(),
              HasSubstr("1 file imported: rows added 1, replaced 0, deleted 0, rejected 1, "));
  EXPECT_EQ(import.exitStatus(), 0);
  EXPECT_THAT(import.errors(), HasSubstr("pp.csv:2: unterminated quote in field 1"));
  ASSERT_TRUE(std::filesystem::exists(m_database));

  Program site(m_home.path(), {"serve", "--port", "0"});
  httplib::Client client("127.0.0.1", std::atoi(site.firstLine().c_str()));
  auto page = client.Get(soldPricesPath("TS247PW"));
  ASSERT_TRUE(page);
  EXPECT_THAT(page->body, HasSubstr("King St"));
  EXPECT_THAT(page->body, HasSubstr("HM Land Registry data"));
}

// The sum of the prices and the number of sales, as one text.
std::string fingerprint(const std::filesystem::path& database) {
  const auto db = listing::openForReading(database.string());
  return std::to_string(db->single("SELECT sum(price) FROM sales")) + " in " +
         std::to_string(db->single("SELECT count(*) FROM sales"));
}

TEST_F(ListingProgramTest, AnImportKilledMidwayLeavesTheDatabaseAsBefore) {
  test::writeBytes(m_home / "first.csv", test::pricePaidFile({{.sale = 1}, {.sale = 2}}));
  ASSERT_EQ(Program(m_home.path(), {"import", (m_home / "first.csv").string()}).exitStatus(), 0);
  const std::string before = fingerprint(m_database);
  test::writeBytes(m_home / "big.csv", manySales(300'000, 100));

  for (int stopSignal : {SIGKILL, SIGINT}) {
    SCOPED_TRACE(strsignal(stopSignal));
    Program import(m_home.path(), {"import", (m_home / "big.csv").string()});
    EXPECT_THAT(import.errorsUntil("rows read"), HasSubstr("big.csv: "));
    import.signal(stopSignal);
    EXPECT_EQ(import.exitStatus(), 128 + stopSignal);
    if (stopSignal == SIGINT) {
      EXPECT_THAT(import.errors(), HasSubstr("import interrupted"));
    }
    EXPECT_EQ(fingerprint(m_database), before);
    const auto db = listing::openForReading(m_database.string());
    const auto street = listing::StreetQuery(*db).find("CF10 3NQ", 5);
    ASSERT_TRUE(street);
    EXPECT_EQ(street->sales.size(), 2u);
  }
}

TEST_F(ListingProgramTest, PagesChangeWhenAnImportCommitsAndNoRequestFails) {
  test::writeBytes(m_home / "first.csv", test::pricePaidFile({{.sale = 1}}));
  ASSERT_EQ(Program(m_home.path(), {"import", (m_home / "first.csv").string()}).exitStatus(), 0);
  test::writeBytes(m_home / "second.csv",
                   test::pricePaidFile({{.sale = 1, .street = "NEW ROAD", .status = "C"}}) +
                       manySales(150'000, 100));

  Program site(m_home.path(), {"serve", "--port", "0"});
  httplib::Client client("127.0.0.1", std::atoi(site.firstLine().c_str()));
  Program import(m_home.path(), {"import", (m_home / "second.csv").string()});
  std::vector<std::string> seen;  // the street of each answer, once per change
  int requests = 0;
  while (true) {
    const bool importing = import.running();
    auto page = client.Get(soldPricesPath("CF103NQ"));
    ++requests;
    ASSERT_TRUE(page) << "request " << requests;
    ASSERT_EQ(page->status, 200) << "request " << requests;
    const std::string street =
        page->body.find("Show <b>New Road</b>") != std::string::npos      ? "New Road"
        : page->body.find("Show <b>High Street</b>") != std::string::npos ? "High Street"
                                                                          : "neither";
    if (seen.empty() || seen.back() != street) seen.push_back(street);
    ASSERT_TRUE(site.running());  // and takes in its request log
    if (!importing) break;
  }
  EXPECT_EQ(import.exitStatus(), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"High Street", "New Road"})) << requests << " requests";
}

}  // namespace
}  // namespace korvane
