// The work files: stripping the page's markup, loading the stripped page, the work folder.

#include "util/markup.h"

#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "util/basic.h"
#include "util/text_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;

// The stripping rule applied one byte at a time.
std::string strippedByteByByte(const std::string& page) {
  std::string out;
  bool insideTag = false;
  for (const char b : page) {
    if (b == '<') insideTag = true;
    if (b == '>') insideTag = false;
    if (b == '>' || (!insideTag && b != '<')) out.push_back(b == '>' ? ' ' : b);
  }
  return out;
}

std::string stripped(const test::TempDir& dir, const std::string& page) {
  test::writeBytes(dir / "entity.html", page);
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_EQ(test::readBytes(dir / "entity.html"), page);
  return test::readBytes(dir / "comprm.dat");
}

TEST(Killhtml, ReplacesEachTagByOneSpace) {
  const struct {
    std::string page, text;
  } cases[] = {{"a<b><i>c", "a  c"},
               {"x > y", "x   y"},
               {"a<b", "a"},
               {"a<b<c>d", "a d"},
               {"a<b\r\nclass=x>c", "a c"},
               {"<>", " "},
               {"P&pound;5\r\n\t", "P&pound;5\r\n\t"},
               {std::string("\xA3\0<\x80>", 5), std::string("\xA3\0 ", 3)}};
  test::TempDir dir;
  for (const auto& c : cases) EXPECT_EQ(stripped(dir, c.page), c.text) << c.page;
}

TEST(Killhtml, RandomPagesFollowTheByteRuleAcrossItsBuffers) {
  std::mt19937 random(20261206);
  test::TempDir dir;
  for (const int percent : {1, 10, 50, 90}) {
    for (const std::size_t size : {1, 17, 65'535, 65'536, 65'537, 300'001}) {
      std::string page(size, '\0');
      for (char& b : page)
        b = static_cast<int>(random() % 100) < percent ? "<>"[random() % 2]
                                                       : static_cast<char>(random() % 256);
      EXPECT_TRUE(stripped(dir, page) == strippedByteByByte(page)) << percent << "% " << size;
    }
  }
}

TEST(Killhtml, RewritesTheResultAndCreatesAMissingPage) {
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", std::string(5000, 'o'));
  EXPECT_EQ(stripped(dir, "<b>new</b>"), " new ");
  fs::remove(dir / "entity.html");
  const mode_t umask = ::umask(0);
  killhtml(dir / "entity.html", dir / "comprm.dat");
  ::umask(umask);
  // An ordinary file: readable and writable as far as the umask allows, never executable.
  EXPECT_EQ(fs::status(dir / "entity.html").permissions(), static_cast<fs::perms>(0666));
  EXPECT_EQ(test::readBytes(dir / "entity.html"), "");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), "");
}

TEST(Killhtml, AFileThatCannotBeOpenedOrWrittenFailsWithItsErrorAndKeepsThePage) {
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", "<p>page</p>");
  const auto fileError = [](int number) {
    return testing::Throws<Failure>(
        testing::AllOf(testing::Property(&Failure::kind, FailureKind::FileError),
                       testing::Property(&Failure::number, number)));
  };
  EXPECT_THAT([&] { killhtml(dir / "gone" / "entity.html", dir / "gone" / "comprm.dat"); },
              fileError(ENOENT));
  EXPECT_THAT([&] { killhtml(dir / "entity.html", "/dev/full"); }, fileError(ENOSPC));
  EXPECT_EQ(test::readBytes(dir / "entity.html"), "<p>page</p>");
}

TEST(GeneralDateTime, ShowsDayMonthYearAndTwentyFourHourTime) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mday = 5;
  local.tm_hour = 21;
  local.tm_min = 7;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  EXPECT_EQ(generalDateTime(std::chrono::system_clock::from_time_t(std::mktime(&local))),
            "05/01/2026 21:07:09");
}

TEST(WorkFolder, DeletesItsTwoFilesOnlyAndAMissingOneIsNoError) {
  test::TempDir dir;
  const WorkFolder work(dir.path());
  EXPECT_EQ(work.entityHtml(), dir / "property" / "entity.html");
  EXPECT_EQ(work.comprmDat(), dir / "property" / "comprm.dat");
  EXPECT_TRUE(work.deleteWorkFiles());
  fs::create_directory(work.folder());
  for (const fs::path& file : {work.entityHtml(), work.comprmDat(), work.folder() / "other"})
    test::writeBytes(file, "x");
  EXPECT_TRUE(work.deleteWorkFiles());
  EXPECT_FALSE(fs::exists(work.entityHtml()) || fs::exists(work.comprmDat()));
  EXPECT_TRUE(fs::exists(work.folder() / "other"));
}

// The text LoadText puts in the field for a file holding `file`.
std::string loaded(const test::TempDir& dir, const std::string& file) {
  test::writeBytes(dir / "comprm.dat", file);
  RunBuffer buffer;
  test::RecordingMessageBoxes boxes;
  EXPECT_TRUE(LoadText(buffer, "txt_nohtmlsource", dir / "comprm.dat", boxes));
  EXPECT_TRUE(boxes.shown.empty());
  return buffer.text("txt_nohtmlsource");
}

TEST(LoadText, EndsEveryLineWithCrLf) {
  test::TempDir dir;
  // CR LF and a lone CR end a line (CR CR LF ends two); a lone LF stays; the last line counts.
  EXPECT_EQ(loaded(dir, std::string("a\r\nb\nc\rd\r\r\ne\n\r\xA3\0", 16)),
            std::string("a\r\nb\nc\r\nd\r\n\r\ne\n\r\n\xA3\0\r\n", 21));
  EXPECT_EQ(loaded(dir, "\r\n\r\n"), "\r\n\r\n");
  EXPECT_EQ(loaded(dir, ""), "");
  std::string file, field;
  for (int i = 0; i < 20'000; ++i) {  // across the reader's buffers
    file += std::to_string(i) + std::string(i % 50, 'x') + (i % 2 ? "\r" : "\r\n");
    field += std::to_string(i) + std::string(i % 50, 'x') + "\r\n";
  }
  EXPECT_TRUE(loaded(dir, file) == field);
}

TEST(LoadText, AFileThatCannotBeReadShowsFileNotFoundAndKeepsTheField) {
  test::TempDir dir;
  for (const fs::path& path : {dir / "missing.dat", dir / "gone" / "comprm.dat", dir.path()}) {
    RunBuffer buffer;
    buffer.setText("txt_nohtmlsource", "previous page");
    test::RecordingMessageBoxes boxes;
    EXPECT_FALSE(LoadText(buffer, "txt_nohtmlsource", path, boxes));
    EXPECT_EQ(buffer.text("txt_nohtmlsource"), "previous page");
    EXPECT_EQ(boxes.shown, (std::vector<test::ShownBox>{{"File Not Found", "Error"}})) << path;
  }
}

}  // namespace
}  // namespace korvane
