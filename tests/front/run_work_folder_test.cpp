// Runs whose work folder cannot be written: a read-only folder (as an ordinary user, since file
// permissions do not bind root) and a full disk. Each ends with the file boxes and the report of an
// empty result, or a file failure for the step that writes.

#include "front/valuation_run.h"
#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "util/basic.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <grp.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

const std::string kPage =
    "<html><body><h1>Sold prices for post codes starting AB1</h1>\r\n"
    "<p>Show Acacia Avenue only</p><p>Acacia Avenue, \xA3"
    "250,000 average</p>\r\n"
    "<p>Buying a home?</p></body></html>";

// Runs observe() in a child process, as the user nobody when the tests run as root, and returns
// what it wrote. A child that cannot drop its privileges or that crashes fails the test.
std::string observedAsOrdinaryUser(const std::function<std::string()>& observe) {
  int channel[2];
  if (::pipe(channel) != 0) {
    ADD_FAILURE() << "pipe: " << std::strerror(errno);
    return {};
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(3);
    }
    const std::string observed = observe();
    const bool written =
        ::write(channel[1], observed.data(), observed.size()) == ssize_t(observed.size());
    ::_exit(written ? 0 : 4);
  }
  ::close(channel[1]);
  std::string observed;
  char chunk[4096];
  for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
    observed.append(chunk, got);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "child ended with status " << status << " (3: could not become nobody)";
  return observed;
}

// A program folder the user nobody can enter, with a work folder of the given permissions.
struct WorkFolderRig {
  test::TempDir programFolder;
  WorkFolder work{programFolder.path()};

  explicit WorkFolderRig(fs::perms workFolderPerms) {
    fs::permissions(programFolder.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directory(work.folder());
    if (::geteuid() == 0) {
      EXPECT_EQ(::chown(work.folder().c_str(), kNobody, kNobody), 0);
    }
    fs::permissions(work.folder(), workFolderPerms);
  }
  ~WorkFolderRig() { fs::permissions(work.folder(), fs::perms::owner_all); }
};

// One whole run over fakes; the result lists the boxes, then the report's captions and fields.
std::string runAndDescribe(const WorkFolder& work) {
  test::Journal journal;
  test::FakeInputs inputs;
  test::RecordingProgress progress{journal};
  test::RecordingReport report{journal};
  test::ScriptedPages pages{journal};
  pages.pages = {kPage};
  test::RecordingWaiter waiter{journal};
  test::RecordingBrowser browser{journal};
  test::RecordingMessageBoxes boxes;
  RunBuffer buffer;
  ValuationRun run{RunPorts{inputs, progress, report, pages, waiter, work, browser, boxes, buffer},
                   "http://127.0.0.1:9"};
  run.DoProc();

  std::string out;
  for (const test::ShownBox& box : boxes.shown())
    out += "box " + box.title + ": " + box.text + "\n";
  for (const auto& [label, caption] : report.captions) {
    out += std::string(test::labelName(label)) + " = " + caption + "\n";
  }
  out += "street = " + buffer.text("lbl_streetname") + "\n";
  out += "report shown = " + std::to_string(report.visible) + "\n";
  out += "status lines = " + std::to_string(progress.lines.size()) + "\n";
  return out;
}

// What runAndDescribe gives, after the boxes, for a run that ends with an empty report.
const std::string kEmptyReport =
    "LBL_AVERAGEPROPERTYVALUE = \xA3,000\n"
    "LBL_ESTVALUE5YEARS = \xA3"
    "0,000\n"
    "LBL_DIFFERENCE = \xA3"
    "0,000\n"
    "Label4 = No sold prices found for AB1\n"
    "street = \n"
    "report shown = 1\n"
    "status lines = 9\n";

TEST(RunWorkFolder, ReadOnlyFolderShowsBothFileBoxesAndAnEmptyReport) {
  WorkFolderRig rig(fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const std::string described = observedAsOrdinaryUser([&] { return runAndDescribe(rig.work); });
  EXPECT_EQ(described,
            "box Error: Error 13\r\nPermission denied\n"
            "box Error: File Not Found\n" +
                kEmptyReport);
  EXPECT_FALSE(fs::exists(rig.work.entityHtml()));
  EXPECT_FALSE(fs::exists(rig.work.comprmDat()));
}

TEST(RunWorkFolder, ReadOnlyFolderWithAnEarlierRunsFilesNeverReportsThatPage) {
  WorkFolderRig rig(fs::perms::owner_all);
  // An earlier run's files that this user can read but can neither delete nor overwrite.
  test::writeBytes(rig.work.entityHtml(), "old page\r\n");
  test::writeBytes(rig.work.comprmDat(),
                   "post codes starting ZZ1 Show Old Lane only \xA3"
                   "1 Old Lane, \xA3"
                   "900,000 Buying a home?\r\n");
  for (const fs::path& file : {rig.work.entityHtml(), rig.work.comprmDat()}) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  fs::permissions(rig.work.folder(), fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
  const std::string described = observedAsOrdinaryUser([&] { return runAndDescribe(rig.work); });
  EXPECT_EQ(described, "box Error: Error 13\r\nPermission denied\n" + kEmptyReport);
}

TEST(RunWorkFolder, WritableFolderOfTheSameUserGivesTheFullReport) {
  // The same child and folder set-up with write permission: what the read-only case lacks is
  // only the permission.
  WorkFolderRig rig(fs::perms::owner_all);
  const std::string described = observedAsOrdinaryUser([&] { return runAndDescribe(rig.work); });
  EXPECT_EQ(described.find("box "), std::string::npos) << described;
  EXPECT_NE(described.find("street = Acacia Avenue\n"), std::string::npos) << described;
  EXPECT_EQ(test::readBytes(rig.work.entityHtml()), kPage + "\r\n");
}

TEST(RunWorkFolder, StrippingOntoAFullDiskFailsWithNoSpaceAndKeepsThePage) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no writable /dev/full here";
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", kPage);
  try {
    killhtml(dir / "entity.html", "/dev/full");
    FAIL() << "killhtml did not throw";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), FailureKind::FileError);
    EXPECT_EQ(failure.number(), ENOSPC);
  }
  EXPECT_EQ(test::readBytes(dir / "entity.html"), kPage);
}

}  // namespace
}  // namespace korvane
