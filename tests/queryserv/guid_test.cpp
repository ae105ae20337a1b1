#include "queryserv/component/guid.h"

#include <gtest/gtest.h>

namespace korvane::component {
namespace {

TEST(GuidText, ParsesEitherCaseAndFormatsUpperCase) {
  static const struct {
    const char* text;
    Guid guid;
    const char* formatted;
  } cases[] = {
      {"{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}",
       {0xF5FFD06A, 0x4CCC, 0x4B4F, {0x94, 0x0C, 0x5F, 0xD7, 0x59, 0xD2, 0x59, 0x2E}},
       "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}"},
      {"{6b5ddc2f-a987-4d6d-b125-168116c8d41b}",
       {0x6B5DDC2F, 0xA987, 0x4D6D, {0xB1, 0x25, 0x16, 0x81, 0x16, 0xC8, 0xD4, 0x1B}},
       "{6B5DDC2F-A987-4D6D-B125-168116C8D41B}"},
      {"{00000000-0000-0000-C000-000000000046}",
       {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}},
       "{00000000-0000-0000-C000-000000000046}"},
      {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}",
       {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
       "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = parseGuid(c.text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, c.guid);
    EXPECT_EQ(guidText(c.guid), c.formatted);
  }
}

TEST(GuidText, RejectsAnythingButTheBracedForm) {
  static const char* const bad[] = {
      "",
      "F5FFD06A-4CCC-4B4F-940C-5FD759D2592E",
      "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E",
      " {F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}",
      "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E} ",
      "{F5FFD06A4CCC-4B4F-940C-5FD759D2592E0}",
      "{F5FFD06G-4CCC-4B4F-940C-5FD759D2592E}",
      "{F5FFD06A-4CCC-4B4F-940C-5FD759D2592-}",
      "{+5FFD06A-4CCC-4B4F-940C-5FD759D2592E}",
      "(F5FFD06A-4CCC-4B4F-940C-5FD759D2592E)",
      "Quorbel.cn_dip",
  };
  for (const char* text : bad) {
    EXPECT_FALSE(parseGuid(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace korvane::component
