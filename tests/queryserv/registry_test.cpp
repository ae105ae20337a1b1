#include "queryserv/component/registry.h"

#include "component_fixture.h"

#include "queryserv/component/registry_file.h"
#include "support/files.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace korvane::component {
namespace {

using test::ComponentTest;

// --- The file's text -------------------------------------------------------------------------

TEST(RegistryText, AnyNameAndValueSurvivesARoundTrip) {
  Registry registry;
  ASSERT_TRUE(registry.setValue("CLSID\\{F5FFD06A-4CCC-4B4F-940C-5FD759D2592E}", "", "cn_dip"));
  ASSERT_TRUE(registry.setValue("Key [with] brackets", "name = \"quoted\"", "back\\slash"));
  ASSERT_TRUE(registry.setValue("Key [with] brackets", "@", "line one\nline two\r\n"));
  ASSERT_TRUE(registry.setValue("Empty", "", ""));
  ASSERT_TRUE(registry.setValue("Path", "", "/home/a b/\xC2\xA3/libQuorbel.so"));

  const auto read = Registry::fromText(registry.toText());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->values(), registry.values());
  EXPECT_EQ(read->value("Key [with] brackets", "@"), "line one\nline two\r\n");
  EXPECT_EQ(read->value("Key [with] brackets"), std::nullopt);
}

TEST(RegistryText, DamagedTextIsRejected) {
  static const char* const damaged[] = {
      "[CLSID]\n@=\"x\"\n",                                 // no header
      "KORVANE COMPONENT REGISTRY 2\n",                     // unknown header
      "KORVANE COMPONENT REGISTRY 1\n@=\"x\"\n",            // value before any key
      "KORVANE COMPONENT REGISTRY 1\n[K]\n@=\"x\n",         // unterminated value
      "KORVANE COMPONENT REGISTRY 1\n[K]\n@=\"x\\q\"\n",    // unknown escape
      "KORVANE COMPONENT REGISTRY 1\n[K]\n@=\"x\" tail\n",  // text after the value
      "KORVANE COMPONENT REGISTRY 1\n[K]\n\"n\"\"x\"\n",    // no '='
      "KORVANE COMPONENT REGISTRY 1\n[K]\nname=\"x\"\n",    // unquoted name
      "KORVANE COMPONENT REGISTRY 1\n[K\n@=\"x\"\n",        // unclosed key
      "KORVANE COMPONENT REGISTRY 1\n[]\n@=\"x\"\n",        // empty key
  };
  for (const char* text : damaged) {
    EXPECT_FALSE(Registry::fromText(text).has_value()) << text;
  }
}

TEST(RegistryText, KeysWithLineBreaksAreRefused) {
  Registry registry;
  EXPECT_FALSE(registry.setValue("", "", "x"));
  EXPECT_FALSE(registry.setValue("a\nb", "", "x"));
  EXPECT_FALSE(registry.setValue("a\rb", "", "x"));
  EXPECT_TRUE(registry.values().empty());
}

// --- Where the file lives --------------------------------------------------------------------

TEST(RegistryPath, FollowsXdgDataHomeAndFallsBackToHome) {
  const std::string oldXdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  static const struct {
    const char* xdg;  // null: unset
    const char* home;
    const char* expected;
  } cases[] = {
      {"/data", "/home/u", "/data/korvane/components.reg"},
      {nullptr, "/home/u", "/home/u/.local/share/korvane/components.reg"},
      {"", "/home/u", "/home/u/.local/share/korvane/components.reg"},
      {"relative/data", "/home/u", "/home/u/.local/share/korvane/components.reg"},
      {nullptr, nullptr, ""},
      {"relative", "also-relative", ""},
  };
  for (const auto& c : cases) {
    c.xdg ? ::setenv("XDG_DATA_HOME", c.xdg, 1) : ::unsetenv("XDG_DATA_HOME");
    c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
    EXPECT_EQ(registryPath().string(), c.expected)
        << (c.xdg ? c.xdg : "(unset)") << ", " << (c.home ? c.home : "(unset)");
  }
  ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
  ::setenv("HOME", oldHome.c_str(), 1);
}

// --- Reading and updating the file -----------------------------------------------------------

class RegistryFileTest : public ComponentTest {};

TEST_F(RegistryFileTest, MissingFileIsAnEmptyRegistryAndUpdateCreatesIt) {
  Registry registry;
  ASSERT_EQ(readRegistry(&registry), S_OK);
  EXPECT_TRUE(registry.values().empty());

  ASSERT_EQ(updateRegistry([](Registry& r) { r.setValue("Quorbel.cn_dip\\CLSID", "", "{1}"); }),
            S_OK);
  ASSERT_EQ(readRegistry(&registry), S_OK);
  EXPECT_EQ(registry.value("Quorbel.cn_dip\\CLSID"), "{1}");
  // Only the registry and its lock file: no temporary file is left behind.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(registryFile().parent_path())) {
    names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  EXPECT_EQ(names, (std::vector<std::string>{"components.reg", "components.reg.lock"}));
}

TEST_F(RegistryFileTest, DamagedFileIsNeitherReadNorOverwritten) {
  std::filesystem::create_directories(registryFile().parent_path());
  const std::string damaged = "not a registry\n";
  test::writeBytes(registryFile(), damaged);

  Registry registry;
  EXPECT_EQ(readRegistry(&registry), REGDB_E_READREGDB);
  bool changed = false;
  EXPECT_EQ(updateRegistry([&](Registry&) { changed = true; }), REGDB_E_READREGDB);
  EXPECT_FALSE(changed);
  EXPECT_EQ(test::readBytes(registryFile()), damaged);
}

TEST_F(RegistryFileTest, RegistryLeftEmptyRemovesTheFile) {
  ASSERT_EQ(updateRegistry([](Registry& r) { r.setValue("K", "", "v"); }), S_OK);
  ASSERT_TRUE(std::filesystem::exists(registryFile()));
  ASSERT_EQ(updateRegistry([](Registry& r) { r.removeValue("K", ""); }), S_OK);
  EXPECT_FALSE(std::filesystem::exists(registryFile()));
}

TEST_F(RegistryFileTest, ConcurrentWritersLoseNoUpdate) {
  constexpr int kWriters = 4;
  constexpr int kUpdatesEach = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([w] {
      for (int i = 0; i < kUpdatesEach; ++i) {
        const std::string key = "Writer" + std::to_string(w) + "\\" + std::to_string(i);
        EXPECT_EQ(updateRegistry([&](Registry& r) { r.setValue(key, "", "x"); }), S_OK);
      }
    });
  }
  for (std::thread& writer : writers) writer.join();

  Registry registry;
  ASSERT_EQ(readRegistry(&registry), S_OK);
  EXPECT_EQ(registry.values().size(), std::size_t{kWriters * kUpdatesEach});
}

TEST_F(RegistryFileTest, UnwritableFolderReportsAWriteFailure) {
  // The data home is a plain file, so the korvane folder cannot be made.
  const std::filesystem::path blocker = m_dataHome / "blocker";
  test::writeBytes(blocker, "x");
  ::setenv("XDG_DATA_HOME", blocker.c_str(), 1);
  EXPECT_EQ(updateRegistry([](Registry& r) { r.setValue("K", "", "v"); }), REGDB_E_WRITEREGDB);
}

}  // namespace
}  // namespace korvane::component
