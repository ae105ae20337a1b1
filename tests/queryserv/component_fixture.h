#pragma once

#include "queryserv/component/message_box.h"
#include "support/files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvane::component::test {

using korvane::test::readBytes;
using korvane::test::TempDir;
using korvane::test::writeBytes;

struct ShownBox {
  std::string title;
  std::string text;
  MessageIcon icon;
  friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

inline void PrintTo(const ShownBox& box, std::ostream* out) {
  *out << '{' << box.title << ", \"" << box.text << "\", icon " << static_cast<int>(box.icon)
       << '}';
}

// Records boxes instead of showing them; safe to call from any thread.
class RecordingSink final : public MessageBoxSink {
 public:
  void show(const std::string& title, const std::string& text, MessageIcon icon) override {
    const std::lock_guard guard(m_mutex);
    m_boxes.push_back({title, text, icon});
  }
  std::vector<ShownBox> boxes() const {
    const std::lock_guard guard(m_mutex);
    return m_boxes;
  }
  void clear() {
    const std::lock_guard guard(m_mutex);
    m_boxes.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<ShownBox> m_boxes;
};

// A test with its own empty XDG data home, so its own component registry.
class XdgDataHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_DATA_HOME")) m_oldDataHome = old;
    ::setenv("XDG_DATA_HOME", m_dataHome.path().c_str(), 1);
  }
  void TearDown() override {
    if (m_oldDataHome) {
      ::setenv("XDG_DATA_HOME", m_oldDataHome->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
  }

  std::filesystem::path registryFile() const {
    return m_dataHome.path() / "korvane" / "components.reg";
  }

  TempDir m_dataHome;

 private:
  std::optional<std::string> m_oldDataHome;
};

// As above, and message boxes are recorded instead of shown.
class ComponentTest : public XdgDataHomeTest {
 protected:
  void SetUp() override {
    XdgDataHomeTest::SetUp();
    m_previousSink = setMessageBoxSink(&m_sink);
  }
  void TearDown() override {
    setMessageBoxSink(m_previousSink);
    XdgDataHomeTest::TearDown();
  }

  RecordingSink m_sink;

 private:
  MessageBoxSink* m_previousSink = nullptr;
};

}  // namespace korvane::component::test
