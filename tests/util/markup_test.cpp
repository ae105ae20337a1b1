#include "util/markup.h"

#include "support/files.h"
#include "util/basic.h"

#include <unistd.h>

#include <gtest/gtest.h>
#include <random>
#include <regex>

namespace korvane {
namespace {

// --- Stripping, byte by byte -----------------------------------------------------------------

struct StripCase {
  const char* name;
  std::string page;
  std::string stripped;
};

// Printed by name: gtest would otherwise dump the bytes of the whole case, the unused parts
// of its strings' buffers included.
void PrintTo(const StripCase& c, std::ostream* out) { *out << c.name; }

class Killhtml : public ::testing::TestWithParam<StripCase> {};

TEST_P(Killhtml, WritesThePageWithEachTagReplacedByOneSpace) {
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", GetParam().page);
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), GetParam().stripped);
  EXPECT_EQ(test::readBytes(dir / "entity.html"), GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Killhtml,
    ::testing::Values(StripCase{"OneTagBetweenLetters", "a<b>c", "a c"},
                      StripCase{"TwoAdjacentTags", "a<b><i>c", "a  c"},
                      StripCase{"CloserOutsideATag", "x > y", "x   y"},
                      StripCase{"CharacterReferenceKept", "P&pound;5", "P&pound;5"},
                      StripCase{"SemicolonThenCloser", "a;b>c", "a;b c"},
                      StripCase{"NeverClosedTag", "a<b", "a"}, StripCase{"EmptyPage", "", ""},
                      StripCase{"OpenerInsideATag", "a<b<c>d", "a d"},
                      StripCase{"TagAcrossLines", "a<b\r\nclass=x>c", "a c"},
                      StripCase{"LineEndsAndTabsKept", "a\r\n\tb\nc\r", "a\r\n\tb\nc\r"},
                      StripCase{"EmptyTag", "<>", " "}, StripCase{"OnlyAnOpener", "<", ""},
                      StripCase{"HighAndZeroBytesKept", std::string("\xA3\0\xFF<\x80>\x9F", 7),
                                std::string("\xA3\0\xFF \x9F", 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KillhtmlBytes, EveryByteValueOutsideTagsIsKept) {
  // 0x00-0xFF in order: "<" (3C) opens a tag around "=" (3D) that ">" (3E) closes, so those three
  // bytes become one space and every other byte value comes through unchanged.
  std::string page;
  std::string expected;
  for (int value = 0; value < 256; ++value) {
    page.push_back(static_cast<char>(value));
    if (value == '>')
      expected.push_back(' ');
    else if (value != '<' && value != '=')
      expected.push_back(static_cast<char>(value));
  }
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", page);
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), expected);
}

TEST(KillhtmlBytes, LongPageAcrossManyBuffersKeepsTheTagStateBetweenThem) {
  // Tags that straddle every buffer boundary a streaming implementation might use.
  std::string page;
  std::string expected;
  for (int i = 0; i < 40'000; ++i) {
    page += "word" + std::to_string(i) + "<tag attr='" + std::string(i % 13, 'v') + "'>";
    expected += "word" + std::to_string(i) + " ";
  }
  page += "<unclosed" + std::string(100'000, 'z');
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", page);
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_TRUE(test::readBytes(dir / "comprm.dat") == expected);
}

// The stripping rule applied one byte at a time, as the reference for pages of random bytes.
std::string strippedByteByByte(const std::string& page) {
  std::string out;
  bool insideTag = false;
  for (char b : page) {
    if (b == '<') {
      b = ' ';
      insideTag = true;
    }
    if (b == '>') {
      b = ' ';
      insideTag = false;
    }
    if (!insideTag) out.push_back(b);
  }
  return out;
}

TEST(KillhtmlBytes, RandomPagesDenseWithMarkersMatchTheByteByByteRule) {
  std::mt19937 random(20261206);
  // Marker densities from almost none to almost all; sizes across the stripper's buffer size.
  const int markerPercent[] = {1, 10, 50, 90};
  const std::size_t sizes[] = {1, 17, 65'535, 65'536, 65'537, 300'001};
  test::TempDir dir;
  for (const int percent : markerPercent) {
    for (const std::size_t size : sizes) {
      std::string page(size, '\0');
      for (char& b : page) {
        const int roll = static_cast<int>(random() % 100);
        b = roll < percent ? (random() % 2 ? '<' : '>') : static_cast<char>(random() % 256);
      }
      test::writeBytes(dir / "entity.html", page);
      killhtml(dir / "entity.html", dir / "comprm.dat");
      SCOPED_TRACE(::testing::Message() << percent << "% markers, " << size << " bytes");
      EXPECT_TRUE(test::readBytes(dir / "comprm.dat") == strippedByteByByte(page));
    }
  }
}

// --- Work files over several runs ------------------------------------------------------------

TEST(KillhtmlFiles, TwoPagesWithoutADeletionAreBothStrippedFirstPageFirst) {
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", "<p>one</p>\r\n<p>two</p>\r\n");
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), " one \r\n two \r\n");
}

TEST(KillhtmlFiles, AShorterPageLeavesNothingOfALongerEarlierOne) {
  test::TempDir dir;
  test::writeBytes(dir / "comprm.dat", std::string(5000, 'o'));
  test::writeBytes(dir / "entity.html", "<b>new</b>");
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), " new ");
}

TEST(KillhtmlFiles, MissingPageIsCreatedEmptyAndGivesAnEmptyResult) {
  test::TempDir dir;
  killhtml(dir / "entity.html", dir / "comprm.dat");
  EXPECT_TRUE(std::filesystem::exists(dir / "entity.html"));
  EXPECT_EQ(test::readBytes(dir / "entity.html"), "");
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), "");
}

TEST(KillhtmlFiles, MissingFolderThrowsAFileFailureAndWritesNothing) {
  test::TempDir dir;
  const WorkFolder work(dir.path());  // no property folder inside
  try {
    killhtml(work.entityHtml(), work.comprmDat());
    FAIL() << "killhtml did not throw";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), FailureKind::FileError);
    EXPECT_EQ(failure.number(), ENOENT);
    EXPECT_FALSE(failure.description().empty());
  }
  EXPECT_FALSE(std::filesystem::exists(work.folder()));
}

TEST(KillhtmlFiles, UnwritableResultThrowsAFileFailure) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: a read-only file is still writable";
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", "<p>x</p>");
  test::writeBytes(dir / "comprm.dat", "old");
  std::filesystem::permissions(dir / "comprm.dat", std::filesystem::perms::owner_read);
  EXPECT_THROW(killhtml(dir / "entity.html", dir / "comprm.dat"), Failure);
  EXPECT_EQ(test::readBytes(dir / "comprm.dat"), "old");
}

// --- The date-and-time lines -----------------------------------------------------------------

TEST(KillhtmlLines, PrintsTheDateAndTimeBeforeAndAfter) {
  test::TempDir dir;
  test::writeBytes(dir / "entity.html", "<p>x</p>");
  std::vector<std::string> lines;
  killhtml(dir / "entity.html", dir / "comprm.dat",
           [&lines](const std::string& line) { lines.push_back(line); });
  ASSERT_EQ(lines.size(), 2u);
  const std::regex dateTime(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
  EXPECT_TRUE(std::regex_match(lines[0], dateTime)) << lines[0];
  EXPECT_TRUE(std::regex_match(lines[1], dateTime)) << lines[1];
}

TEST(KillhtmlLines, PrintsOnlyTheFirstLineWhenTheFolderIsMissing) {
  test::TempDir dir;
  std::vector<std::string> lines;
  EXPECT_THROW(killhtml(dir / "gone" / "entity.html", dir / "gone" / "comprm.dat",
                        [&lines](const std::string& line) { lines.push_back(line); }),
               Failure);
  EXPECT_EQ(lines.size(), 1u);
}

TEST(GeneralDateTime, ShowsDayMonthYearAndTwentyFourHourTime) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 0;
  local.tm_mday = 5;
  local.tm_hour = 21;
  local.tm_min = 7;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
  EXPECT_EQ(generalDateTime(when), "05/01/2026 21:07:09");
}

// --- The work folder -------------------------------------------------------------------------

TEST(WorkFolder, LiesInThePropertyFolderOfTheProgram) {
  const WorkFolder work("/opt/korvane/bin");
  EXPECT_EQ(work.entityHtml(), std::filesystem::path("/opt/korvane/bin/property/entity.html"));
  EXPECT_EQ(work.comprmDat(), std::filesystem::path("/opt/korvane/bin/property/comprm.dat"));
}

TEST(WorkFolder, DeletingTheWorkFilesLeavesTheFolderAndOtherFiles) {
  test::TempDir dir;
  const WorkFolder work(dir.path());
  std::filesystem::create_directory(work.folder());
  test::writeBytes(work.entityHtml(), "page");
  test::writeBytes(work.comprmDat(), "text");
  test::writeBytes(work.folder() / "other.txt", "keep");
  EXPECT_TRUE(work.deleteWorkFiles());
  EXPECT_FALSE(std::filesystem::exists(work.entityHtml()));
  EXPECT_FALSE(std::filesystem::exists(work.comprmDat()));
  EXPECT_TRUE(std::filesystem::exists(work.folder() / "other.txt"));
  EXPECT_TRUE(work.deleteWorkFiles()) << "missing files are no error";
}

TEST(WorkFolder, DeletingInAMissingFolderIsNoError) {
  test::TempDir dir;
  EXPECT_TRUE(WorkFolder(dir / "nowhere").deleteWorkFiles());
}

}  // namespace
}  // namespace korvane
