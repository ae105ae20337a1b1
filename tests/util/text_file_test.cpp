#include "util/text_file.h"

#include "support/files.h"
#include "support/recording_message_boxes.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::ShownBox;

const ShownBox kFileNotFound{"File Not Found", "Error", MessageIcon::None};

// --- Line ends -------------------------------------------------------------------------------

struct LineCase {
  const char* name;
  std::string file;
  std::string field;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused
// parts of its strings' buffers included.
void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class LoadTextLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(LoadTextLines, EndsEveryLineWithCrLf) {
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", GetParam().file);
  RunBuffer buffer;
  test::RecordingMessageBoxes boxes;
  EXPECT_TRUE(LoadText(buffer, "txt_nohtmlsource", dir / "comprm.dat", boxes));
  EXPECT_EQ(buffer.text("txt_nohtmlsource"), GetParam().field);
  EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadTextLines,
    ::testing::Values(LineCase{"LastLineWithoutEndGetsOne", "a\r\nb", "a\r\nb\r\n"},
                      LineCase{"LoneLfStaysInsideTheLine", "a\nb\n", "a\nb\n\r\n"},
                      LineCase{"LoneCrEndsALine", "a\rb\r", "a\r\nb\r\n"},
                      LineCase{"CrCrLfIsAnEmptyLineBetween", "a\r\r\nb", "a\r\n\r\nb\r\n"},
                      LineCase{"LfCrEndsTheLineAfterTheLf", "a\n\rb", "a\n\r\nb\r\n"},
                      LineCase{"EmptyLinesKept", "\r\n\r\n", "\r\n\r\n"},
                      LineCase{"EmptyFileGivesEmptyText", "", ""},
                      LineCase{"OneSpace", " ", " \r\n"},
                      LineCase{"OtherBytesUntouched", std::string("\xA3\0\x1A\xFF", 4),
                               std::string("\xA3\0\x1A\xFF\r\n", 6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadText, ReplacesEarlierTextWhole) {
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", "new");
  RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", std::string(10'000, 'o'));
  test::RecordingMessageBoxes boxes;
  ASSERT_TRUE(LoadText(buffer, "txt_nohtmlsource", dir / "comprm.dat", boxes));
  EXPECT_EQ(buffer.text("txt_nohtmlsource"), "new\r\n");
}

TEST(LoadText, LargeFileComesThroughWhole) {
  std::string file;
  std::string field;
  for (int i = 0; i < 20'000; ++i) {
    const std::string line = "line " + std::to_string(i) + std::string(i % 50, 'x');
    file += line + (i % 2 ? "\r" : "\r\n");
    field += line + "\r\n";
  }
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", file);
  RunBuffer buffer;
  test::RecordingMessageBoxes boxes;
  ASSERT_TRUE(LoadText(buffer, "txt_nohtmlsource", dir / "comprm.dat", boxes));
  EXPECT_TRUE(buffer.text("txt_nohtmlsource") == field);
}

// --- Files that cannot be read ---------------------------------------------------------------

TEST(LoadText, UnreadableFilesShowFileNotFoundAndKeepTheField) {
  test::TempDir dir;
  const std::filesystem::path unreadable[] = {dir / "missing.dat", dir / "gone" / "comprm.dat",
                                              dir.path()};
  for (const auto& path : unreadable) {
    SCOPED_TRACE(path.string());
    RunBuffer buffer;
    buffer.setText("txt_nohtmlsource", "previous page");
    test::RecordingMessageBoxes boxes;
    EXPECT_FALSE(LoadText(buffer, "txt_nohtmlsource", path, boxes));
    EXPECT_EQ(buffer.text("txt_nohtmlsource"), "previous page");
    EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{kFileNotFound});
  }
}

TEST(LoadText, FileWithoutReadPermissionShowsFileNotFound) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: every file is readable";
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", "secret");
  std::filesystem::permissions(dir / "comprm.dat", std::filesystem::perms::none);
  RunBuffer buffer;
  buffer.setText("txt_nohtmlsource", "kept");
  test::RecordingMessageBoxes boxes;
  EXPECT_FALSE(LoadText(buffer, "txt_nohtmlsource", dir / "comprm.dat", boxes));
  EXPECT_EQ(buffer.text("txt_nohtmlsource"), "kept");
  EXPECT_EQ(boxes.shown(), std::vector<ShownBox>{kFileNotFound});
}

}  // namespace
}  // namespace korvane
