// Appending the downloaded page to a work file.

#include "net/save.h"

#include "support/files.h"
#include "support/recording_message_boxes.h"

#include <cstring>
#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::ShownBox;

TEST(SaveTextFile, PutsTheTextAndCrLfBehindWhatWasThere) {
  const struct {
    const char* before;  // nullptr: no file yet
    std::string text, after;
  } cases[] = {{"first\r\n", "second", "first\r\nsecond\r\n"},
               {nullptr, std::string("a\nb\rc\0\xA3", 7), std::string("a\nb\rc\0\xA3\r\n", 9)}};
  for (const auto& c : cases) {
    test::TempDir dir;
    if (c.before != nullptr) test::writeBytes(dir / "entity.html", c.before);
    test::RecordingMessageBoxes boxes;
    EXPECT_TRUE(SaveTextFile(c.text, dir / "entity.html", boxes));
    EXPECT_EQ(test::readBytes(dir / "entity.html"), c.after);
    EXPECT_TRUE(boxes.shown.empty());
  }
}

TEST(SaveTextFile, AFileThatCannotBeWrittenShowsWhyAndReturnsFalse) {
  test::TempDir dir;
  const auto error = [](int number) {
    return ShownBox{"Error " + std::to_string(number) + "\r\n" + std::strerror(number), "Error",
                    MessageIcon::Critical};
  };
  const struct {
    std::filesystem::path path;
    ShownBox box;
  } cases[] = {
      {dir / "property" / "entity.html", error(ENOENT)},
      {"/dev/full", error(ENOSPC)},
      // The null device takes the bytes, but no file with a length is there afterwards.
      {"/dev/null",
       {"Unexpectd error occured. File could not be saved", "Sorry", MessageIcon::Critical}},
  };
  for (const auto& c : cases) {
    test::RecordingMessageBoxes boxes;
    EXPECT_FALSE(SaveTextFile("page", c.path, boxes));
    EXPECT_EQ(boxes.shown, std::vector<ShownBox>{c.box}) << c.path;
  }
}

TEST(FileIsPresent, AnswersWhetherAFileHasALength) {
  test::TempDir dir;
  test::writeBytes(dir / "empty", "");
  EXPECT_TRUE(FileIsPresent(dir / "empty"));
  for (const auto& absent : {dir / "missing", dir.path()})
    EXPECT_FALSE(FileIsPresent(absent)) << absent;
}

}  // namespace
}  // namespace korvane
