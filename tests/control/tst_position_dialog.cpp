// The position dialog window: layout, OK, Cancel, the rotation switch and bad texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "position_dialog.h"

namespace orvane {
namespace {

class PositionDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    publics.numzoom = 2;
    publics.numx = -0.75;
    publics.numy = 0.1;
    publics.ct = 15;
    publics.roo = 1;
    dialog.setTexts({"2", "-0.75", "0.1", "15"});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }

  // As typed, over the selected text (also what an input method does with "１２．５").
  void typeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    box->insert(text);
  }

  PositionValues publics;
  PositionDialog dialog{publics};
};

TEST_F(PositionDialogTest, IsLaidOutInTwipsWithItsCaptions) {
  EXPECT_EQ(dialog.windowTitle(), "位置控制");
  EXPECT_EQ(dialog.size(), QSize(299, 212));
  EXPECT_EQ(dialog.txtZoom->geometry(), QRect(96, 24, 137, 18));
  EXPECT_EQ(dialog.txtRound->geometry(), QRect(96, 120, 33, 18));
  EXPECT_EQ(dialog.OKButton->geometry(), QRect(176, 176, 81, 25));
  EXPECT_EQ(dialog.CancelButton->text(), "还原鼠标");
  EXPECT_EQ(dialog.OKButton->text(), "确定");
  EXPECT_EQ(dialog.cmdRoo->text(), "旋转");
  EXPECT_TRUE(dialog.OKButton->isDefault());
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(PositionDialogTest, TabGoesThroughTheBoxesAndButtonsInOrder) {
  dialog.txtZoom->setFocus();
  const QWidget* order[] = {dialog.txtX,         dialog.txtY,     dialog.cmdRoo, dialog.txtRound,
                            dialog.CancelButton, dialog.OKButton, dialog.txtZoom};
  for (const QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

TEST_F(PositionDialogTest, OkStoresTheBoxesWithTheRotationRounded) {
  typeInto(dialog.txtZoom, "１２．５");
  typeInto(dialog.txtX, " -1e-3 ");
  typeInto(dialog.txtRound, "13.5");
  QTest::keyClick(dialog.txtX, Qt::Key_Return);  // Enter is OK
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(publics.numzoom, 12.5);
  EXPECT_EQ(publics.numx, -0.001);
  EXPECT_EQ(publics.numy, 0.1);
  EXPECT_EQ(publics.ct, 14);
}

TEST_F(PositionDialogTest, ZeroAndNegativeMagnificationsAreTaken) {
  for (const char* zoom : {"0", "-2"}) {
    dialog.show();
    typeInto(dialog.txtZoom, zoom);
    dialog.OKButton->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << zoom;
    EXPECT_EQ(publics.numzoom, QString(zoom).toDouble());
  }
}

TEST_F(PositionDialogTest, WithRotationOffOkIgnoresTheRotationBox) {
  dialog.cmdRoo->click();
  EXPECT_EQ(dialog.txtRound->text(), "无效");
  EXPECT_EQ(publics.roo, 0);
  dialog.OKButton->click();
  EXPECT_EQ(publics.ct, 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(PositionDialogTest, RotatePressedTwiceShowsZero) {
  dialog.cmdRoo->click();
  dialog.cmdRoo->click();
  EXPECT_EQ(publics.roo, 1);
  EXPECT_EQ(dialog.txtRound->text(), "0");
}

TEST_F(PositionDialogTest, EscRunsRestoreMouseAndChangesNothing) {
  typeInto(dialog.txtZoom, "99");
  QTest::keyClick(dialog.txtZoom, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(publics.numzoom, 2);
}

struct BadText {
  const char* zoom;
  const char* x;
  const char* round;
};

TEST_F(PositionDialogTest, BadTextsKeepTheDialogOpenAndMarkTheFirstBox) {
  const PositionValues before = publics;
  const BadText cases[] = {{"", "0", "0"},      {"abc", "0", "0"},    {"1e400", "0", "0"},
                           {"nan", "0", "0"},   {"inf", "0", "0"},    {"1", "x1", "0"},
                           {"1", "0", "32768"}, {"1", "0", "-40000"}, {"1", "0", "ten"}};
  for (const BadText& c : cases) {
    SCOPED_TRACE(std::string(c.zoom) + " | " + c.x + " | " + c.round);
    dialog.setTexts({c.zoom, c.x, "0", c.round});
    dialog.setResult(-1);
    dialog.OKButton->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_EQ(publics.numzoom, before.numzoom);
    EXPECT_EQ(publics.numx, before.numx);
    EXPECT_EQ(publics.ct, before.ct);
    EXPECT_TRUE(dialog.hintLine()->isVisible());
    QLineEdit* first = std::string(c.zoom) != "1" ? dialog.txtZoom
                       : std::string(c.x) != "0"  ? dialog.txtX
                                                  : dialog.txtRound;
    EXPECT_TRUE(dialog.isMarked(first));
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->selectedText(), first->text());
  }
}

TEST_F(PositionDialogTest, EditingAMarkedBoxClearsItsMark) {
  typeInto(dialog.txtY, "y?");
  dialog.OKButton->click();
  ASSERT_TRUE(dialog.isMarked(dialog.txtY));
  QTest::keyClicks(dialog.txtY, "0");
  EXPECT_FALSE(dialog.isMarked(dialog.txtY));
  EXPECT_FALSE(dialog.hintLine()->isVisible());
}

}  // namespace
}  // namespace orvane
