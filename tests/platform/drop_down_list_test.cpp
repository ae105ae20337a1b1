#include "platform/drop_down_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct ListRig {
  ListRig() {
    window.resize(300, 200);
    list = new DropDownList(&window);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems({"Detached", "Semi-Detached", "Terraced", "Flat"});
    list->setEditText("Select");
    list->setGeometry(10, 10, 150, 22);
    window.show();
    QApplication::setActiveWindow(&window);
    list->setFocus();
  }
  QWidget window;
  DropDownList* list = nullptr;
};

TEST(DropDownList, TypingKeepsTheTextAsTypedAndSuggestsNothing) {
  ListRig rig;
  rig.list->lineEdit()->clear();
  QTest::keyClicks(rig.list, "De");
  EXPECT_EQ(rig.list->currentText(), QString("De"));
  ASSERT_TRUE(rig.list->lineEdit()->hasFocus());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  QTest::keyClicks(rig.list, "tached");
  EXPECT_EQ(rig.list->currentText(), QString("Detached"));
}

TEST(DropDownList, OpensItsListAndTakesTheEntryPicked) {
  ListRig rig;
  EXPECT_TRUE(rig.list->isEditable());
  EXPECT_EQ(rig.list->currentText(), QString("Select"));
  rig.list->showPopup();
  QAbstractItemView* view = rig.list->view();
  ASSERT_TRUE(view->isVisible());
  ASSERT_EQ(view->model()->rowCount(), 4);
  const QModelIndex terraced = view->model()->index(2, 0);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(terraced).center());
  EXPECT_EQ(rig.list->currentText(), QString("Terraced"));
  EXPECT_FALSE(view->isVisible());
  // The list opens the same way a second time.
  rig.list->showPopup();
  EXPECT_TRUE(view->isVisible());
  rig.list->hidePopup();
}

}  // namespace
}  // namespace korvane
