// korvane-listing as a program: a whole run read by the program's own download,
// markup stripping and extraction; imports killed or running while pages are served; refusals.

#include "price_paid_rows.h"

#include "front/extraction.h"
#include "listing/listing_db.h"
#include "listing/sqlite.h"
#include "net/fetch.h"
#include "net/save.h"
#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "util/markup.h"
#include "util/run_buffer.h"
#include "util/text_file.h"

#include <httplib.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace korvane {
namespace {

using testing::HasSubstr;

// A program (korvane-listing unless named) in a child process with XDG_DATA_HOME set to `home` and
// its output on a terminal of its own, so an import shows its progress.
class Program {
 public:
  Program(const std::filesystem::path& home, std::vector<std::string> args,
          const char* program = KORVANE_LISTING_PROGRAM) {
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    m_pid = forkpty(&m_terminal, nullptr, nullptr, nullptr);
    if (m_pid == 0) execv(argv[0], argv.data()), _exit(127);
  }
  ~Program() {
    if (m_pid > 0) kill(m_pid, SIGKILL), waitpid(m_pid, nullptr, 0);
    close(m_terminal);
  }

  // The port serve announces on its first line; 0 when none comes within 20 seconds.
  int port() { return std::atoi(readUntil("\n").c_str()); }
  // Reads the output until it holds `text` (at most `waitMs`), or for "" while any is ready.
  const std::string& readUntil(const std::string& text, int waitMs = 20'000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    char buffer[4096];
    for (ssize_t got = 0; text.empty() || m_output.find(text) == std::string::npos;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{m_terminal, POLLIN, 0};
      if (poll(&ready, 1, std::max<int>(0, left.count())) <= 0) break;
      if ((got = read(m_terminal, buffer, sizeof buffer)) <= 0) break;
      m_output.append(buffer, static_cast<size_t>(got));
    }
    return m_output;
  }
  // The exit status once the program ends (128 + the signal that ended it), or -1 after 20 s.
  int exitStatus() {
    for (int i = 0; i < 2000 && running(); ++i) usleep(10'000);
    return m_status;
  }
  // True until the program has ended; reads its output meanwhile.
  bool running() {
    readUntil({}, 0);
    int status = 0;
    if (m_pid <= 0 || waitpid(m_pid, &status, WNOHANG) != m_pid) return m_pid > 0;
    m_pid = -1;
    readUntil({}, 0);
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  void signal(int number) { kill(m_pid, number); }
  const std::string& output() const { return m_output; }

 private:
  pid_t m_pid = -1;
  int m_status = -1, m_terminal = -1;
  std::string m_output;
};

std::string soldPricesPath(const std::string& postcode) {
  return "/index.php?con=sold_prices_street&cCode=EW&postcode=" + postcode;
}

// The street and the average in thousands, as one valuation run reads them from the page.
std::pair<std::string, std::string> extract(int port, const std::string& postcode) {
  test::TempDir work;
  test::RecordingMessageBoxes messages;
  const std::string page =
      FetchUrlText("http://127.0.0.1:" + std::to_string(port) + soldPricesPath(postcode));
  EXPECT_TRUE(SaveTextFile(page, work / "entity.html", messages));
  killhtml(work / "entity.html", work / "comprm.dat");
  RunBuffer buffer;
  EXPECT_TRUE(LoadText(buffer, "txt_nohtmlsource", work / "comprm.dat", messages));
  extractSoldPrices(buffer);
  EXPECT_TRUE(messages.shown.empty());
  return {buffer.text("txt_housetext2"), buffer.text("txt_num")};
}

// The number of sales and the sum of their prices.
std::string fingerprint(const std::filesystem::path& database) {
  const auto db = listing::openForReading(database.string());
  return std::to_string(db->single("SELECT count(*) FROM sales")) + " sales of " +
         std::to_string(db->single("SELECT sum(price) FROM sales"));
}

class ListingProgramTest : public testing::Test {
 protected:
  test::TempDir m_home;
  const std::filesystem::path m_database = m_home / "korvane" / "listing.sqlite";
};

// Changes, removals, quoting and broken rows imported, then served and read back.
TEST_F(ListingProgramTest, AnImportReportsWhatItDidAndTheProgramReadsTheServedPage) {
  test::writeBytes(m_home / "pp.csv",
                   test::pricePaidFile({{.sale = 1, .price = 1},
                                        {.sale = 2, .price = 300000},
                                        {.sale = 3, .paon = "THE \"OLD\" FORGE, NORTH"},
                                        {.sale = 4},
                                        {.sale = 4, .status = "D"},
                                        {.sale = 2, .price = 310000, .status = "C"},
                                        {.sale = 1, .price = 200500, .status = "C"}}) +
                       "\"1\n\"\"\n\"\"\n");
  Program import(m_home.path(), {"import", (m_home / "pp.csv").string()});
  EXPECT_EQ(import.exitStatus(), 3);  // rows were rejected
  EXPECT_THAT(import.output(),
              HasSubstr("1 file imported: rows added 4, replaced 2, deleted 1, rejected 3, "));
  EXPECT_THAT(import.output(), HasSubstr("pp.csv:8: unterminated quote in field 1"));

  Program site(m_home.path(), {"serve", "--port", "0"});
  const int port = site.port();
  // 200,500, 310,000 and 250,000 average 253,500, which rounds up.
  for (const char* asked : {"CF103NQ", "cf10+3nq"})
    EXPECT_EQ(extract(port, asked), std::make_pair(std::string("High Street"), std::string("254")));
  EXPECT_EQ(extract(port, "ZZ999ZZ"), std::make_pair(std::string(), std::string()));
  site.signal(SIGTERM);
  EXPECT_EQ(site.exitStatus(), 0);
}

// Imports killed (SIGKILL, Ctrl-C) midway and one that completes, while pages are asked for.
TEST_F(ListingProgramTest, PagesAreServedThroughImportsAndAKilledImportChangesNothing) {
  test::writeBytes(m_home / "first.csv", test::pricePaidFile({{.sale = 1}}));
  ASSERT_EQ(Program(m_home.path(), {"import", (m_home / "first.csv").string()}).exitStatus(), 0);
  const std::string before = fingerprint(m_database);
  // A file that takes a while to import: sales in post codes of their own.
  std::string big = test::pricePaidLine({.sale = 1, .street = "NEW ROAD", .status = "C"}) + "\n";
  for (int i = 0; i < 200'000; ++i) {
    const std::string postcode = "ZZ" + std::to_string(i % 90 + 10) + " " + std::to_string(i);
    big += test::pricePaidLine({.sale = 100 + i, .postcode = postcode.c_str()}) + "\n";
  }
  test::writeBytes(m_home / "big.csv", big);
  Program site(m_home.path(), {"serve", "--port", "0"});
  httplib::Client client("127.0.0.1", site.port());
  auto street = [&]() -> std::string {  // the street the page shows, "" when the request fails
    auto page = client.Get(soldPricesPath("CF103NQ"));
    EXPECT_TRUE(site.running());  // and takes in its request log
    const size_t at = page && page->status == 200 ? page->body.find("Show <b>") : std::string::npos;
    if (at == std::string::npos) return "";
    return page->body.substr(at + 8, page->body.find('<', at + 8) - at - 8);
  };
  for (int stopSignal : {SIGKILL, SIGINT, 0}) {
    SCOPED_TRACE(stopSignal);
    Program import(m_home.path(), {"import", (m_home / "big.csv").string()});
    import.readUntil("rows read");
    if (stopSignal != 0) import.signal(stopSignal);
    for (std::string last = "High Street"; import.running();) {
      const std::string now = street();
      ASSERT_TRUE(now == last || now == "New Road") << now;  // no failure, no step back
      last = now;
    }
    EXPECT_EQ(import.exitStatus(), stopSignal == 0 ? 0 : 128 + stopSignal);
    EXPECT_EQ(street(), stopSignal == 0 ? "New Road" : "High Street");
    if (stopSignal != 0) {
      EXPECT_EQ(fingerprint(m_database), before);
    }
  }
}

TEST_F(ListingProgramTest, ImportExitStatusSaysWhetherEverythingWasImported) {
  test::writeBytes(m_home / "pp.csv", test::pricePaidFile({{.sale = 1}}));
  test::writeBytes(m_home / "page.html", "<html><body>Not found</body></html>\n");
  const std::string program = KORVANE_LISTING_PROGRAM;
  const std::tuple<std::string, int, const char*> cases[] = {
      {program + " import pp.csv", 0, "1 file imported: rows added 1, replaced 0"},
      {"cat pp.csv | " + program + " import -", 0, "1 file imported: rows added 0, replaced 1"},
      {program + " import pp.csv page.html", 1, "page.html: no row is a Price Paid row (line 1: "},
      {program + " import - </dev/null", 1, "standard input: holds no Price Paid rows"},
  };
  for (const auto& [command, status, says] : cases) {
    SCOPED_TRACE(command);
    Program shell(m_home.path(), {"-c", "cd " + m_home.path().string() + " && " + command},
                  "/bin/sh");
    EXPECT_EQ(shell.exitStatus(), status);
    EXPECT_THAT(shell.output(), HasSubstr(says));
  }
  EXPECT_EQ(fingerprint(m_database), "1 sales of 250000");
}

TEST_F(ListingProgramTest, RefusesABadCommandLineOrWhatItCannotUse) {
  test::writeBytes(m_home / "notes.txt", "not a database");
  const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
      {{"export"}, 2, "export: unknown command"},
      {{"serve", "--db", "/nowhere/listing.sqlite"}, 1, "/nowhere/listing.sqlite: no listing"},
      {{"serve", "--db", (m_home / "notes.txt").string()}, 1, "notes.txt: cannot be read"},
      {{"import", "/nowhere/pp.csv"}, 1, "/nowhere/pp.csv: cannot be read"},
      {{"import", "x.csv", "--db", (m_home / "notes.txt/db").string()}, 1, "cannot be made"},
  };
  for (const auto& [args, status, says] : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    Program program(m_home.path(), args);
    EXPECT_EQ(program.exitStatus(), status);
    EXPECT_THAT(program.output(), HasSubstr(says));
  }
}

}  // namespace
}  // namespace korvane
