// Formulas and colours through the main window: the Scheme menu with its two dialogs, the
// rendering dialog and the colour offset dialog, on the real picture.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "main_window_fixture.h"
#include "picture_box.h"

namespace orvane {
namespace {

class FormulasAndColours : public MainWindowFixture {
 protected:
  // Confirms the dimension dialog as shown, recording its texts.
  void confirmComponents(DimensionTexts& shown) {
    whenDialogShows<DimensionDialog>([&shown](DimensionDialog& dialog) {
      shown = {dialog.txtDx->text().toStdString(), dialog.txtDy->text().toStdString()};
      QTest::keyClick(dialog.txtDx, Qt::Key_Return);
    });
  }
  void confirmView(PositionTexts& shown) {
    whenPositionDialogShows([&shown](PositionDialog& dialog) {
      shown = dialog.texts();
      QTest::keyClick(dialog.txtZoom, Qt::Key_Return);
    });
  }
};

TEST_F(FormulasAndColours, FirstJuliaConfirmedTwiceDrawsTheFirstEntryView) {
  DimensionTexts components;
  PositionTexts view;
  confirmComponents(components);
  confirmView(view);
  trigger("mnuJulia");
  EXPECT_EQ(components.dx, "0.25");
  EXPECT_EQ(components.dy, "0");
  EXPECT_EQ(view.zoom, "1.5");
  EXPECT_EQ(view.x, "0");
  EXPECT_EQ(view.round, "0");
  EXPECT_EQ(window.state().drawing, formula::kJulia);
  EXPECT_TRUE(window.dialogs().dimension.ok);
  EXPECT_EQ(window.picture().image(), expectedPicture());
  EXPECT_EQ(backgroundPixels(), 0);
}

TEST_F(FormulasAndColours, ToolbarMandelFromStartUpProposesTheHomeView) {
  DimensionTexts components;
  PositionTexts view;
  confirmComponents(components);
  confirmView(view);
  QTest::mouseClick(toolButton("人形"), Qt::LeftButton);
  EXPECT_EQ(components.dx, "0");
  EXPECT_EQ(view.zoom, "1");
  EXPECT_EQ(view.x, "-0.5");
  EXPECT_EQ(window.state().drawing, formula::kMandelbrot);
}

TEST_F(FormulasAndColours, CancelInTheComponentsDialogLeavesASwitchPending) {
  trigger("mnuStart");
  whenDialogShows<DimensionDialog>([](DimensionDialog& dialog) { dialog.CancelButton->click(); });
  QTest::mouseClick(toolButton("龙形"), Qt::LeftButton);
  EXPECT_EQ(window.state().drawing, formula::kPendingJulia);
  EXPECT_TRUE(window.dialogs().dimension.ok);
  EXPECT_FALSE(window.positionDialog().loaded());  // no position dialog followed
  trigger("mnuClean");
  trigger("mnuStart");
  EXPECT_EQ(backgroundPixels(), 400 * 300);  // a pending switch draws nothing
}

TEST_F(FormulasAndColours, HoleGoesStraightToThePositionDialog) {
  PositionTexts view;
  confirmView(view);
  trigger("mnuHole");
  EXPECT_EQ(view.zoom, "1");
  EXPECT_EQ(view.x, "0");
  EXPECT_EQ(window.state().drawing, formula::kHole);
  EXPECT_FALSE(window.dimensionDialog().loaded());
  EXPECT_EQ(window.picture().image(), expectedPicture());
}

TEST_F(FormulasAndColours, TheRenderingDialogIsLoadedAtStartUpWithBothLevelsAtFive) {
  ASSERT_TRUE(window.renderingDialog().loaded());
  EXPECT_FALSE(window.renderingDialog().window().isVisible());
  EXPECT_EQ(window.renderingDialog().window().sldIn->value(), 5);
  EXPECT_EQ(window.dialogs().rendering.dcout, 5);
}

TEST_F(FormulasAndColours, RenderingDialogOkCancelReopenAndNew) {
  whenDialogShows<RenderingDialog>([](RenderingDialog& dialog) {
    dialog.sldIn->setValue(1);
    dialog.CancelButton->click();
  });
  trigger("mnuSmooth");
  EXPECT_EQ(window.dialogs().rendering.dcin, 5);

  whenDialogShows<RenderingDialog>([](RenderingDialog& dialog) {
    EXPECT_EQ(dialog.sldIn->value(), 5);  // opens at the levels last accepted
    dialog.sldIn->setValue(2);
    dialog.sldOut->setValue(0);
    dialog.OKButton->click();
  });
  QTest::mouseClick(toolButton("色彩"), Qt::LeftButton);
  EXPECT_EQ(window.dialogs().rendering.dcin, 2);
  EXPECT_EQ(window.dialogs().rendering.dcout, 0);
  EXPECT_EQ(window.state().renderIn, 5);     // copied by the next pass, or the next opening
  EXPECT_EQ(backgroundPixels(), 400 * 300);  // nothing drawn

  trigger("mnuStart");
  EXPECT_EQ(window.state().renderOut, 0);
  EXPECT_EQ(window.picture().image(), expectedPicture());

  trigger("mnuNew");
  EXPECT_EQ(window.dialogs().rendering.dcin, 5);
  EXPECT_EQ(window.renderingDialog().window().sldOut->value(), 5);
}

TEST_F(FormulasAndColours, ColourOffsetsFromTheDialogColourTheNextPass) {
  whenDialogShows<ColourOffsetDialog>([](ColourOffsetDialog& dialog) {
    dialog.optMoveS[2]->click();  // "碧天"
    dialog.OKButton->click();
  });
  trigger("mnuMove");
  EXPECT_EQ(window.state().colr, 192);
  EXPECT_EQ(window.state().colb, 16);
  trigger("mnuStart");
  EXPECT_EQ(window.picture().image(), expectedPicture());
}

TEST_F(FormulasAndColours, AnOffsetAbove255LastsUntilTheNextPass) {
  whenDialogShows<ColourOffsetDialog>([](ColourOffsetDialog& dialog) {
    dialog.optMoveS[3]->click();
    dialog.txtMoveRed->setText("300");
    dialog.OKButton->click();
  });
  trigger("mnuMove");
  EXPECT_EQ(window.state().colr, 300);
  trigger("mnuStart");
  EXPECT_EQ(window.state().colr, 160);
  EXPECT_EQ(window.state().colg, 64);
  EXPECT_EQ(window.state().colb, 192);
}

TEST_F(FormulasAndColours, ExitUnloadsEveryDialog) {
  trigger("mnuExit");
  EXPECT_FALSE(window.renderingDialog().loaded());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace orvane
