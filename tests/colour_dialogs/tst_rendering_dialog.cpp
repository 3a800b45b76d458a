// The rendering dialog window: sliders, OK and Cancel.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "rendering_dialog.h"

namespace orvane {
namespace {

class RenderingDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    publics.dcin = 5;
    publics.dcout = 5;
    dialog.setSliders(3, 7);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }

  RenderingValues publics;
  RenderingDialog dialog{publics};
};

TEST_F(RenderingDialogTest, HasTwoSlidersFromZeroToTenInItsLayout) {
  EXPECT_EQ(dialog.windowTitle(), "渲染");
  EXPECT_EQ(dialog.size(), QSize(250, 199));
  for (const QSlider* slider : {dialog.sldIn, dialog.sldOut}) {
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 10);
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
  }
  EXPECT_EQ(dialog.sldIn->geometry(), QRect(80, 24, 121, 17));
  EXPECT_EQ(dialog.sldIn->value(), 3);
  EXPECT_EQ(dialog.sldOut->value(), 7);
}

TEST_F(RenderingDialogTest, OkTakesTheSliderPositions) {
  dialog.sldIn->setValue(0);
  QTest::keyClick(dialog.sldOut, Qt::Key_Right);  // one whole step
  dialog.OKButton->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(publics.dcin, 0);
  EXPECT_EQ(publics.dcout, 8);
}

TEST_F(RenderingDialogTest, CancelEscAndTheTitleBarKeepTheLevels) {
  dialog.sldIn->setValue(10);
  dialog.CancelButton->click();
  dialog.show();
  QTest::keyClick(dialog.sldIn, Qt::Key_Escape);
  dialog.show();
  dialog.close();
  EXPECT_EQ(publics.dcin, 5);
  EXPECT_EQ(publics.dcout, 5);
}

}  // namespace
}  // namespace orvane
