#include "queryserv/component/message_box.h"

#include "component_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>
#include <thread>

namespace korvane::component {
namespace {

using DefaultMessageBoxTest = test::XdgDataHomeTest;

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
};

// Closes the modal box the default sink opens, once it is up, and reports what it showed.
void closeBoxWhenShown(SeenBox* seen) {
  QTimer::singleShot(0, [seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      closeBoxWhenShown(seen);
      return;
    }
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
}

TEST_F(DefaultMessageBoxTest, ShowsAModalQtBoxWithTitleTextIconAndOneOkButton) {
  setMessageBoxSink(nullptr);
  static const struct {
    MessageIcon icon;
    QMessageBox::Icon qtIcon;
  } cases[] = {
      {MessageIcon::None, QMessageBox::NoIcon},
      {MessageIcon::Critical, QMessageBox::Critical},
      {MessageIcon::Information, QMessageBox::Information},
  };
  for (const auto& c : cases) {
    SeenBox seen;
    closeBoxWhenShown(&seen);
    showMessageBox("Quorbel", "Server could not be found \xC2\xA3", c.icon);
    EXPECT_EQ(seen.title, "Quorbel");
    EXPECT_EQ(seen.text, QString::fromUtf8("Server could not be found \xC2\xA3"));
    EXPECT_EQ(seen.icon, c.qtIcon);
    EXPECT_EQ(seen.buttons, 1);
  }
}

TEST_F(DefaultMessageBoxTest, AwayFromTheApplicationThreadWritesTheBoxToStandardError) {
  setMessageBoxSink(nullptr);
  testing::internal::CaptureStderr();
  std::thread other([] {
    showMessageBox("Quorbel", "The server QUERYSERV will not be used", MessageIcon::Information);
  });
  other.join();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Quorbel\n[information]\nThe server QUERYSERV will not be used\n[OK]\n");
}

}  // namespace
}  // namespace korvane::component
