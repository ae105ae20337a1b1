#include "base/data_home.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(DataHome, TakesOnlyAnAbsoluteFolder) {
  const struct {
    const char *xdg, *home, *folder;  // null: unset
  } cases[] = {
      {"/data", "/home/u", "/data"},
      {"relative", "/home/u", "/home/u/.local/share"},
      {nullptr, "relative", ""},
      {nullptr, nullptr, ""},
  };
  for (const auto& c : cases) {
    for (const auto& [name, value] : {std::pair{"XDG_DATA_HOME", c.xdg}, {"HOME", c.home}}) {
      value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    EXPECT_EQ(dataHome(), c.folder) << (c.xdg ? c.xdg : "-") << ' ' << (c.home ? c.home : "-");
  }
}

}  // namespace
}  // namespace korvane
