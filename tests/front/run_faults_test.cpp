// Whole runs over the real download when the listing service or the work folder misbehaves: each
// ends with the report of an empty result and nothing left over from the run before.

#include "front/valuation_run.h"
#include "net/fetch.h"
#include "support/files.h"
#include "support/loopback_server.h"
#include "support/run_fakes.h"

#include <grp.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <sys/wait.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::cp;

struct FaultRig : test::RunRig {
  void runAgainst(PageSource& pages, const std::string& host) {
    report = {};
    ValuationRun(ports(pages), host).DoProc();
  }
  // What the report, the run buffer and the page file say after a run.
  std::string outcome() const {
    std::string out;
    for (const auto& [label, caption] : report.captions) out += caption + "|";
    return out + buffer.text("lbl_streetname") + "|" + buffer.text("gph_array") + "|" +
           std::to_string(report.visible) + std::to_string(progress.lines.size());
  }
};

const std::string kEmptyOutcome =
    test::cp("£,000|£0,000|£0,000|No sold prices found for AB1||,0,0,0,0,0|19");

TEST(RunFaults, AnUnreachableServiceGivesAnEmptyReportAndNothingOfTheRunBefore) {
  FaultRig rig;
  test::LoopbackServer good;
  good.serve("/index.php", 200, test::kAcaciaPage);
  PageFetcher pages;
  rig.runAgainst(pages, good.url(""));
  ASSERT_EQ(rig.buffer.text("lbl_streetname"), "Acacia Avenue");
  // What "Evaluate another post code" does to the run's data.
  ASSERT_TRUE(rig.work.deleteWorkFiles());
  rig.buffer.clearForAnotherValuation();
  rig.progress.lines.clear();
  std::string host;
  {
    test::LoopbackServer gone;  // a port that was just in use
    host = gone.url("");
  }
  rig.runAgainst(pages, host);
  EXPECT_EQ(rig.outcome(), kEmptyOutcome);
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), "\r\n");
  EXPECT_TRUE(rig.boxes.shown.empty());
}

// Runs once over a read-only work folder as an ordinary user (file permissions do not bind root)
// in a child process, and returns the boxes shown and the outcome.
std::string runAsNobody(const WorkFolder& work) {
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  if (::fork() == 0) {
    ::close(channel[0]);
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgroups(0, nullptr) || ::setgid(kNobody) || ::setuid(kNobody)))
      ::_exit(3);
    FaultRig rig;
    test::ScriptedPages pages;
    pages.pages = {test::kAcaciaPage};
    ValuationRun(RunPorts{rig.inputs, rig.progress, rig.report, pages, rig.waiter, work,
                          rig.browser, rig.boxes, rig.buffer},
                 "http://127.0.0.1:9")
        .DoProc();
    std::string out;
    for (const test::ShownBox& box : rig.boxes.shown) out += box.text + "\n";
    out += rig.outcome();
    ::_exit(::write(channel[1], out.data(), out.size()) == ssize_t(out.size()) ? 0 : 4);
  }
  ::close(channel[1]);
  std::string out;
  char chunk[4096];
  for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;) out.append(chunk, got);
  ::close(channel[0]);
  int status = 0;
  ::wait(&status);
  EXPECT_EQ(status, 0) << "the child could not become nobody (3) or write (4)";
  return out;
}

TEST(RunFaults, AReadOnlyWorkFolderShowsWhyAndNeverAnEarlierRunsPage) {
  test::TempDir programFolder;
  const WorkFolder work(programFolder.path());
  fs::permissions(programFolder.path(), fs::perms::others_exec, fs::perm_options::add);
  fs::create_directory(work.folder());
  // An earlier run's files this user can read but neither delete nor overwrite.
  test::writeBytes(work.entityHtml(), "old page\r\n");
  test::writeBytes(work.comprmDat(),
                   cp("post codes starting ZZ1 Show Old Lane only £1 Old Lane, £900,000 "
                      "Buying a home?\r\n"));
  for (const fs::path& path : {work.entityHtml(), work.comprmDat(), work.folder()})
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(runAsNobody(work), "Error 13\r\nPermission denied\n" + kEmptyOutcome);
  fs::permissions(work.folder(), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace korvane
