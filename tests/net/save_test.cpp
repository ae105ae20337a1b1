#include "net/save.h"

#include "support/files.h"
#include "support/recording_message_boxes.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::ShownBox;

ShownBox errorBox(int error) {
  return {"Error " + std::to_string(error) + "\r\n" + std::strerror(error), "Error",
          MessageIcon::Critical};
}

// --- What lands in the file ------------------------------------------------------------------

struct AppendCase {
  const char* name;
  std::string before;  // the file's bytes first; "<absent>" when there is no file
  std::string text;
  std::string after;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const AppendCase& c, std::ostream* out) { *out << c.name; }

class SaveTextFileAppends : public ::testing::TestWithParam<AppendCase> {};

TEST_P(SaveTextFileAppends, TextAndCrLfGoBehindWhatWasThere) {
  const AppendCase& c = GetParam();
  test::TempDir dir;
  const auto file = dir / "entity.html";
  if (c.before != "<absent>") test::writeBytes(file, c.before);
  test::RecordingMessageBoxes boxes;
  EXPECT_TRUE(SaveTextFile(c.text, file, boxes));
  EXPECT_EQ(test::readBytes(file), c.after);
  EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveTextFileAppends,
    ::testing::Values(
        AppendCase{"CreatesAMissingFile", "<absent>", "<p>page</p>", "<p>page</p>\r\n"},
        AppendCase{"EmptyTextWritesOnlyTheLineEnd", "<absent>", "", "\r\n"},
        AppendCase{"KeepsEarlierContentInFront", "first\r\n", "second", "first\r\nsecond\r\n"},
        AppendCase{"AddsToAnEmptyFile", "", "x", "x\r\n"},
        AppendCase{"WritesLineEndsAndZeroBytesAsTheyAre", "<absent>",
                   std::string("a\nb\rc\0d\xA3", 8), std::string("a\nb\rc\0d\xA3\r\n", 10)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveTextFile, TwiceOnOnePathKeepsBothTextsInOrder) {
  test::TempDir dir;
  test::RecordingMessageBoxes boxes;
  ASSERT_TRUE(SaveTextFile("page one", dir / "entity.html", boxes));
  ASSERT_TRUE(SaveTextFile("page two", dir / "entity.html", boxes));
  EXPECT_EQ(test::readBytes(dir / "entity.html"), "page one\r\npage two\r\n");
}

// --- Failures --------------------------------------------------------------------------------

TEST(SaveTextFile, MissingFolderShowsTheErrorBoxAndReturnsFalse) {
  test::TempDir dir;
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(SaveTextFile("page", dir / "property" / "entity.html", boxes));
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{errorBox(ENOENT)});
  EXPECT_FALSE(FileIsPresent(dir / "property" / "entity.html"));
}

TEST(SaveTextFile, PathThatIsAFolderShowsTheErrorBox) {
  test::TempDir dir;
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(SaveTextFile("page", dir.path(), boxes));
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{errorBox(EISDIR)});
}

TEST(SaveTextFile, ReadOnlyFolderShowsTheErrorBox) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: a read-only folder is still writable";
  test::TempDir dir;
  std::filesystem::create_directory(dir / "property");
  std::filesystem::permissions(
      dir / "property", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(SaveTextFile("page", dir / "property" / "entity.html", boxes));
  std::filesystem::permissions(dir / "property", std::filesystem::perms::owner_all);
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{errorBox(EACCES)});
}

TEST(SaveTextFile, FullDeviceShowsTheErrorBox) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no writable /dev/full here";
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(SaveTextFile("page", "/dev/full", boxes));
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{errorBox(ENOSPC)});
}

TEST(SaveTextFile, WriteThatLeavesNoFileShowsTheSorryBox) {
  // Writing to the null device succeeds, yet there is no file with a length afterwards.
  if (access("/dev/null", W_OK) != 0) GTEST_SKIP() << "no writable /dev/null here";
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(SaveTextFile("page", "/dev/null", boxes));
  const ShownBox sorry{"Unexpectd error occured. File could not be saved", "Sorry",
                       MessageIcon::Critical};
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{sorry});
}

// --- FileIsPresent ---------------------------------------------------------------------------

TEST(FileIsPresent, AnswersWhetherAFileHasALength) {
  test::TempDir dir;
  test::writeBytes(dir / "empty", "");
  test::writeBytes(dir / "full", "abc");
  EXPECT_TRUE(FileIsPresent(dir / "empty"));
  EXPECT_TRUE(FileIsPresent(dir / "full"));
  EXPECT_FALSE(FileIsPresent(dir / "missing"));
  EXPECT_FALSE(FileIsPresent(dir / "missing" / "file"));
  EXPECT_FALSE(FileIsPresent(dir.path()));
}

}  // namespace
}  // namespace korvane
