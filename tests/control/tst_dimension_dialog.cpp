// The dimension components dialog window: layout, OK, Cancel and bad texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dimension_dialog.h"

namespace orvane {
namespace {

class DimensionDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    publics.numDx = 0.5;
    publics.numDy = -0.5;
    publics.ok = true;
    dialog.setTexts({"0.25", "0"});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }

  DimensionValues publics;
  DimensionDialog dialog{publics};
};

TEST_F(DimensionDialogTest, IsLaidOutInTwipsWithItsCaptions) {
  EXPECT_EQ(dialog.windowTitle(), "高维形状参数[中心对称的龙、混沌残疾的人]");
  EXPECT_EQ(dialog.size(), QSize(333, 154));
  EXPECT_EQ(dialog.txtDx->geometry(), QRect(88, 24, 185, 18));
  EXPECT_EQ(dialog.OKButton->text(), "确定>>...");
  EXPECT_EQ(dialog.CancelButton->text(), "取消");
  EXPECT_TRUE(dialog.OKButton->isDefault());
}

TEST_F(DimensionDialogTest, OkStoresBothComponentsAndClearsOk) {
  QTest::keyClick(dialog.txtDy, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(publics.numDx, 0.25);
  EXPECT_EQ(publics.numDy, 0);
  EXPECT_FALSE(publics.ok);
}

TEST_F(DimensionDialogTest, CancelEscAndTheTitleBarChangeNothing) {
  dialog.txtDx->setText("7");
  dialog.CancelButton->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  for (auto leave : {+[](DimensionDialog& d) { QTest::keyClick(d.txtDx, Qt::Key_Escape); },
                     +[](DimensionDialog& d) { d.close(); }}) {
    dialog.show();
    leave(dialog);
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(publics.numDx, 0.5);
  EXPECT_EQ(publics.numDy, -0.5);
  EXPECT_TRUE(publics.ok);
}

TEST_F(DimensionDialogTest, BadTextsKeepItOpenAndMarkTheBoxes) {
  for (const char* text : {"", "abc", "1e400", "--2"}) {
    dialog.setTexts({"1", text});
    dialog.OKButton->click();
    EXPECT_TRUE(dialog.isVisible()) << text;
    EXPECT_TRUE(dialog.isMarked(dialog.txtDy)) << text;
    EXPECT_FALSE(dialog.isMarked(dialog.txtDx)) << text;
    EXPECT_EQ(QApplication::focusWidget(), dialog.txtDy);
    EXPECT_TRUE(dialog.hintLine()->isVisible());
  }
  EXPECT_EQ(publics.numDx, 0.5);
  EXPECT_TRUE(publics.ok);
}

}  // namespace
}  // namespace orvane
