#include "platform/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// What the modal box looked like while it was up.
struct SeenBox {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool applicationModal = false;
};

// Shows one box through QtMessageBoxes and dismisses it with its OK button once it is up.
// Fails the test when no box appears.
SeenBox showAndDismiss(std::string_view text, std::string_view title, MessageIcon icon) {
  SeenBox seen;
  bool found = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    found = true;
    seen = {box->text(), box->windowTitle(), box->icon(), static_cast<int>(box->buttons().size()),
            box->windowModality() == Qt::ApplicationModal};
    box->button(QMessageBox::Ok)->click();
  });
  QtMessageBoxes().show(text, title, icon);
  EXPECT_TRUE(found) << "no modal message box was shown";
  return seen;
}

struct IconCase {
  const char* name;
  MessageIcon icon;
  QMessageBox::Icon shown;
};

class QtMessageBoxesIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(QtMessageBoxesIcon, ShowsAModalBoxWithOneOkButton) {
  const SeenBox seen = showAndDismiss("File Not Found", "Error", GetParam().icon);
  EXPECT_EQ(seen.text, "File Not Found");
  EXPECT_EQ(seen.title, "Error");
  EXPECT_EQ(seen.icon, GetParam().shown);
  EXPECT_EQ(seen.buttons, 1);
  EXPECT_TRUE(seen.applicationModal);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, QtMessageBoxesIcon,
    ::testing::Values(IconCase{"None", MessageIcon::None, QMessageBox::NoIcon},
                      IconCase{"Information", MessageIcon::Information, QMessageBox::Information},
                      IconCase{"Critical", MessageIcon::Critical, QMessageBox::Critical}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtMessageBoxes, ShowsCodePageTextAndBreaksTheLineAtCrLf) {
  const SeenBox seen =
      showAndDismiss("Error 2\r\nNo such file or directory \xA3", "Sorry", MessageIcon::Critical);
  EXPECT_EQ(seen.text, QString::fromUtf8("Error 2\nNo such file or directory \xC2\xA3"));
  EXPECT_EQ(seen.title, "Sorry");
}

}  // namespace
}  // namespace korvane
