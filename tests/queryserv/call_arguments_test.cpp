#include "queryserv/call/call_arguments.h"

#include <gtest/gtest.h>

namespace korvane::component {
namespace {

TEST(CallArguments, ReadsEveryAutomationType) {
  static const struct {
    const char* text;
    Variant value;
  } cases[] = {
      {"empty", Variant()},
      {"null", Variant::null()},
      {"i2:-32768", Variant::fromI2(-32768)},
      {"i2:32767", Variant::fromI2(32767)},
      {"i4:-2147483648", Variant::fromI4(-2147483647 - 1)},
      {"i4:70000", Variant::fromI4(70000)},
      {"r8:2.5", Variant::fromR8(2.5)},
      {"r8:-1e300", Variant::fromR8(-1e300)},
      {"bool:true", Variant::fromBool(VARIANT_TRUE)},
      {"bool:false", Variant::fromBool(VARIANT_FALSE)},
      {"bool:1", Variant::fromBool(1)},
      {"bool:-1", Variant::fromBool(VARIANT_TRUE)},
      {"text:", Variant::fromText("")},
      {"text:SW1A 1AA", Variant::fromText("SW1A 1AA")},
      {"text:a:b", Variant::fromText("a:b")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = parseArgument(c.text);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, c.value);
    EXPECT_EQ(parseArgument(argumentText(c.value)), c.value)
        << "written as " << argumentText(c.value);
  }
}

TEST(CallArguments, RejectsOutOfRangeAndMalformedValues) {
  static const char* const bad[] = {
      "",         "Empty",         "i2:32768", "i2:-32769", "i2:",    "i2:1.5",
      "i2:12x",   "i4:2147483648", "i4: 1",    "r8:",       "r8:abc", "r8:1.0x",
      "bool:yes", "bool:70000",    "int:1",    "text",
  };
  for (const char* text : bad) {
    EXPECT_FALSE(parseArgument(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace korvane::component
