#include "base/data_home.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace korvane {
namespace {

void setOrUnset(const char* name, const char* value) {
  value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

TEST(DataHome, TakesOnlyAnAbsoluteFolder) {
  const struct {
    const char* xdg;  // null: unset
    const char* home;
    const char* folder;
  } cases[] = {
      {"/data", "/home/u", "/data"},
      {"relative", "/home/u", "/home/u/.local/share"},
      {"", "/home/u", "/home/u/.local/share"},
      {nullptr, "relative", ""},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    setOrUnset("XDG_DATA_HOME", c.xdg);
    setOrUnset("HOME", c.home);
    EXPECT_EQ(dataHome(), c.folder)
        << (c.xdg ? c.xdg : "unset") << ' ' << (c.home ? c.home : "unset");
  }
}

}  // namespace
}  // namespace korvane
