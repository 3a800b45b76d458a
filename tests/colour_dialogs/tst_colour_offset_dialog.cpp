// The colour offset dialog: opening steps, presets, custom offsets, OK, Cancel, title bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "colour_offset_dialog.h"

namespace orvane {
namespace {

class ColourOffsetDialogTest : public testing::Test {
 protected:
  // Each opening loads a fresh window over the same offsets and fields.
  ColourOffsetDialog& open() {
    dialog = std::make_unique<ColourOffsetDialog>(state, fields);
    dialog->show();
    return *dialog;
  }
  void expectOffsets(int red, int green, int blue) {
    EXPECT_EQ(state.colr, red);
    EXPECT_EQ(state.colg, green);
    EXPECT_EQ(state.colb, blue);
  }

  ExplorerState state;
  ColourOffsetFields fields;
  std::unique_ptr<ColourOffsetDialog> dialog;
};

TEST_F(ColourOffsetDialogTest, FirstOpeningAppliesTheDefaultPresetAndCancelKeepsIt) {
  ColourOffsetDialog& d = open();
  EXPECT_EQ(d.windowTitle(), "色彩偏移量调整");
  EXPECT_EQ(d.size(), QSize(298, 199));
  EXPECT_TRUE(d.optMoveS[1]->isChecked());
  EXPECT_FALSE(d.FrmMove->isEnabled());
  EXPECT_EQ(d.txtMoveRed->text(), "160");
  EXPECT_EQ(d.txtMoveBlue->maxLength(), 3);
  d.CancelButton->click();
  expectOffsets(160, 64, 192);
}

TEST_F(ColourOffsetDialogTest, APresetThenCancelRestoresTheOpeningOffsets) {
  open().OKButton->click();
  ColourOffsetDialog& d = open();
  d.optMoveS[0]->click();
  expectOffsets(0, 240, 224);
  EXPECT_EQ(d.txtMoveGreen->text(), "240");
  QTest::keyClick(d.txtMoveRed, Qt::Key_Escape);
  expectOffsets(160, 64, 192);
  EXPECT_EQ(fields.presetIndex, 1);  // the option chosen stays chosen
}

TEST_F(ColourOffsetDialogTest, APresetThenTheTitleBarKeepsThePreset) {
  open().optMoveS[0]->click();
  dialog->close();
  expectOffsets(0, 240, 224);
  ColourOffsetDialog& d = open();  // reopens with that option, re-applied
  EXPECT_TRUE(d.optMoveS[0]->isChecked());
  d.optMoveS[2]->click();
  expectOffsets(192, 128, 16);
}

TEST_F(ColourOffsetDialogTest, CustomKeepsTheOffsetsAndOkTakesTheTypedValues) {
  ColourOffsetDialog& d = open();
  d.optMoveS[3]->click();
  expectOffsets(160, 64, 192);
  EXPECT_TRUE(d.FrmMove->isEnabled());
  d.txtMoveRed->setText("300");
  d.txtMoveGreen->setText("-99");
  d.txtMoveBlue->setText("2.5");
  d.OKButton->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  expectOffsets(300, -99, 2);

  ColourOffsetDialog& again = open();
  EXPECT_TRUE(again.optMoveS[3]->isChecked());
  EXPECT_TRUE(again.FrmMove->isEnabled());
  EXPECT_EQ(again.txtMoveRed->text(), "300");
}

TEST_F(ColourOffsetDialogTest, BoxesWithoutAWholeNumberKeepItOpenAndChangeNothing) {
  ColourOffsetDialog& d = open();
  d.optMoveS[3]->click();
  for (const char* text : {"", "abc", "+", "-"}) {
    d.txtMoveGreen->setText(text);
    d.OKButton->click();
    EXPECT_TRUE(d.isVisible()) << text;
    EXPECT_TRUE(d.isMarked(d.txtMoveGreen)) << text;
  }
  expectOffsets(160, 64, 192);
}

TEST_F(ColourOffsetDialogTest, OpensOnOkAndTabGoesThroughTheBoxesToTheSelectedOption) {
  ColourOffsetDialog& d = open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  EXPECT_EQ(QApplication::focusWidget(), d.OKButton);
  const QWidget* order[] = {d.CancelButton, d.optMoveS[1]};  // boxes disabled: skipped
  for (const QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);  // the arrows move the selection
  EXPECT_TRUE(d.optMoveS[2]->isChecked());
  expectOffsets(192, 128, 16);

  d.optMoveS[3]->click();
  d.OKButton->setFocus();
  const QWidget* custom[] = {d.CancelButton, d.txtMoveRed, d.txtMoveGreen, d.txtMoveBlue,
                             d.optMoveS[3]};
  for (const QWidget* next : custom) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

}  // namespace
}  // namespace orvane
