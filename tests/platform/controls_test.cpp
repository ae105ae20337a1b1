// The desktop's controls as the windows use them: pictures, drop-down lists, message boxes.

#include "platform/drop_down_list.h"
#include "platform/link_label.h"
#include "platform/program_window.h"
#include "platform/qt_message_boxes.h"
#include "platform/svg_picture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace korvane {
namespace {

const QColor kGrey(0x80, 0x80, 0x80);

// The SVG drawn straight onto grey, as the control must show it.
QImage expected(const QString& path, QSize size, qreal ratio = 1) {
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(kGrey);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QSvgRenderer(path).render(&painter, QRectF(image.rect()));
  return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(SvgPicture, ShowsItsPictureAtEachSizeAndPixelRatio) {
  const QString path = ":/assets/front_background.svg";
  QWidget window;
  window.setAutoFillBackground(true);
  QPalette palette;
  palette.setColor(QPalette::Window, kGrey);
  window.setPalette(palette);
  auto* picture = new SvgPicture(path, &window);
  // One control resized: what it drew for one size must not stand in for the next.
  for (const auto& [size, ratio] : {std::pair{QSize(400, 400), 1.0},
                                    {QSize(250, 250), 1.0},
                                    {QSize(250, 250), 2.0},
                                    {QSize(400, 400), 1.0}}) {
    window.resize(size);
    picture->resize(size);
    QImage shown(size * ratio, QImage::Format_ARGB32_Premultiplied);
    shown.setDevicePixelRatio(ratio);
    window.render(&shown);
    shown.setDevicePixelRatio(1);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), expected(path, size, ratio))
        << size.width() << " at " << ratio;
  }
  SvgPicture missing(":/assets/no-such-picture.svg");
  EXPECT_FALSE(missing.isValid());
}

TEST(Clickable, LinksAndPicturesClickFromTheKeyboardAndShowAPressableControlToAssistiveTools) {
  QWidget window;
  auto* link = new LinkLabel("Visit our website", &window);
  auto* picture = new SvgPicture(":/assets/predict_arrow.svg", &window);
  picture->setAccessibleName("Predict");
  picture->setGeometry(0, 40, 100, 50);
  auto* plain = new SvgPicture(":/assets/predict_arrow.svg", &window);
  int clicks = 0;
  link->setOnClick([&] { ++clicks; });
  picture->setOnClick([&] { ++clicks; });
  window.show();
  QApplication::setActiveWindow(&window);
  const struct {
    QWidget* control;
    QAccessible::Role role;
    const char* name;
  } cases[] = {{link, QAccessible::Link, "Visit our website"},
               {picture, QAccessible::Button, "Predict"}};
  for (const auto& c : cases) {
    clicks = 0;
    // A mouse click clicks but gives no focus; only the keyboard does.
    window.setFocus();
    QTest::mouseClick(c.control, Qt::LeftButton);
    EXPECT_FALSE(c.control->hasFocus());
    const QImage unfocused = c.control->grab().toImage();
    c.control->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(c.control->hasFocus()) << c.name;
    EXPECT_NE(c.control->grab().toImage(), unfocused) << c.name << " shows no focus mark";
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A})
      QTest::keyClick(c.control, Qt::Key(key));
    QTest::keyClick(c.control, Qt::Key_Space, Qt::ControlModifier);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(c.control);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), c.role) << c.name;
    EXPECT_EQ(accessible->text(QAccessible::Name), c.name);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    // The press action answers at once and clicks right after, as a push button's does.
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 4) << c.name;  // the mouse and three keys
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 5) << c.name;
  }
  EXPECT_EQ(plain->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(plain)->role(), QAccessible::Graphic);
}

TEST(DropDownList, KeepsWhatIsTypedSuggestsNothingAndTakesTheEntryPicked) {
  QWidget window;
  auto* list = new DropDownList(&window);
  list->addItems({"Detached", "Semi-Detached", "Terraced", "Flat"});
  list->setEditText("Select");
  window.show();
  QApplication::setActiveWindow(&window);
  list->setFocus();
  list->lineEdit()->clear();
  QTest::keyClicks(list, "De");
  EXPECT_EQ(list->currentText(), "De");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  for (int pick : {2, 0}) {  // the list opens the same way a second time
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(pick, 0)).center());
    EXPECT_EQ(list->currentText(), list->itemText(pick));
    EXPECT_FALSE(view->isVisible());
  }
}

TEST(QtMessageBoxes, ShowsAnApplicationModalBoxWithOneOkButton) {
  const struct {
    MessageIcon icon;
    QMessageBox::Icon shown;
  } cases[] = {{MessageIcon::None, QMessageBox::NoIcon},
               {MessageIcon::Information, QMessageBox::Information},
               {MessageIcon::Critical, QMessageBox::Critical}};
  for (const auto& c : cases) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = true;
      // Windows-1252 text, and CR LF breaks the line.
      EXPECT_EQ(box->text(), QString::fromUtf8("Error 2\nNo such file £"));
      EXPECT_EQ(box->windowTitle(), "Sorry");
      EXPECT_EQ(box->icon(), c.shown);
      EXPECT_EQ(box->buttons().size(), 1);
      EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
      box->button(QMessageBox::Ok)->click();
    });
    QtMessageBoxes().show("Error 2\r\nNo such file \xA3", "Sorry", c.icon);
    EXPECT_TRUE(seen);
  }
}

TEST(ProgramWindow, IsFixedInSizeCentredWhenFirstShownAndUnloadsWhenClosed) {
  for (const bool minimisable : {true, false}) {
    int unloads = 0;
    ProgramWindow window({"frm_test", "Test", 3975, 3015, minimisable, true}, [&] { ++unloads; });
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), minimisable);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    window.show();
    const QPoint centre = window.screen()->availableGeometry().center();
    EXPECT_LE((window.frameGeometry().center() - centre).manhattanLength(), 2);
    // Shown again, it stays where the user left it.
    window.move(window.pos() + QPoint(30, 20));
    const QPoint moved = window.pos();
    window.hide();
    window.show();
    EXPECT_EQ(window.pos(), moved);
    window.close();
    EXPECT_EQ(unloads, 1);
  }
}

}  // namespace
}  // namespace korvane
