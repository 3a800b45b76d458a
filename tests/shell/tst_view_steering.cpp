// Steering the view from the main window: the position dialog, zoom steps, New and the
// mouse selection, on the real picture.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "main_window_fixture.h"
#include "picture_box.h"

namespace orvane {
namespace {

class ViewSteering : public MainWindowFixture {
 protected:
  // Confirms the dialog with these texts (empty ones are left as shown).
  void confirmWith(PositionTexts texts) {
    whenPositionDialogShows([texts](PositionDialog& dialog) {
      if (!texts.zoom.empty()) dialog.txtZoom->setText(QString::fromStdString(texts.zoom));
      if (!texts.x.empty()) dialog.txtX->setText(QString::fromStdString(texts.x));
      if (!texts.round.empty()) dialog.txtRound->setText(QString::fromStdString(texts.round));
      QTest::keyClick(dialog.txtZoom, Qt::Key_Return);
    });
  }
  // Records what the dialog shows, then leaves it with Esc.
  void cancelRecording(PositionTexts& shown) {
    whenPositionDialogShows([&shown](PositionDialog& dialog) {
      shown = dialog.texts();
      QTest::keyClick(dialog.txtZoom, Qt::Key_Escape);
    });
  }
  void drag(QPoint from, QPoint to) {
    const QPoint border(PictureBox::kBorder, PictureBox::kBorder);
    QTest::mousePress(&window.picture(), Qt::LeftButton, {}, from + border);
    QTest::mouseMove(&window.picture(), (from + to) / 2 + border);
    QTest::mouseMove(&window.picture(), to + border);
    QTest::mouseRelease(&window.picture(), Qt::LeftButton, {}, to + border);
  }
};

TEST_F(ViewSteering, PositionDialogAtStartUpShowsTheHomeViewAndEscDrawsNothing) {
  PositionTexts shown;
  cancelRecording(shown);
  trigger("mnuLie");
  EXPECT_EQ(shown.zoom, "1");
  EXPECT_EQ(shown.x, "-0.5");
  EXPECT_EQ(shown.y, "0");
  EXPECT_EQ(shown.round, "0");
  EXPECT_EQ(backgroundPixels(), 400 * 300);
  EXPECT_FALSE(window.positionDialog().loaded());
}

TEST_F(ViewSteering, OkDrawsTheConfirmedView) {
  confirmWith({"4", "-1", "", "30"});
  QTest::mouseClick(toolButton("控制"), Qt::LeftButton);
  EXPECT_EQ(window.state().viewZoom, 4);
  EXPECT_EQ(window.state().viewX, -1);
  EXPECT_EQ(window.state().viewTurn, 30);
  EXPECT_EQ(window.picture().image(), expectedPicture());
  EXPECT_FALSE(window.positionDialog().loaded());
}

TEST_F(ViewSteering, BadTextInTheDialogStartsNothing) {
  whenPositionDialogShows([](PositionDialog& dialog) {
    dialog.txtZoom->setText("abc");
    dialog.OKButton->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.CancelButton->click();
  });
  trigger("mnuLie");
  EXPECT_EQ(window.dialogs().position.numzoom, 0);
  EXPECT_EQ(backgroundPixels(), 400 * 300);
}

TEST_F(ViewSteering, APendingStepShowsInTheDialogAndOkDrawsIt) {
  window.dialogs().position.numzoom = 8;
  trigger("mnuZoomOut2");
  PositionTexts shown;
  whenPositionDialogShows([&shown](PositionDialog& dialog) {
    shown = dialog.texts();
    dialog.OKButton->click();
  });
  trigger("mnuLie");
  EXPECT_EQ(shown.zoom, "4");
  EXPECT_EQ(window.state().viewZoom, 4);
  EXPECT_EQ(window.state().zoomDivisor, 1);
}

TEST_F(ViewSteering, ZoomStepsReplaceEachOtherAndSurviveStopAndClear) {
  trigger("mnuZoomOut2");
  trigger("mnuZoomIn2");
  trigger("mnuStop");
  trigger("mnuClean");
  EXPECT_EQ(window.state().zoomDivisor, 0.5);
  EXPECT_EQ(backgroundPixels(), 400 * 300);  // a step draws nothing by itself
  trigger("mnuStart");
  EXPECT_EQ(window.state().viewZoom, 2);
  EXPECT_EQ(window.dialogs().position.numzoom, 2);
}

TEST_F(ViewSteering, AZoomOutStepDrawsAtItsMagnificationAndTheDialogShowsIt) {
  trigger("mnuZoomOut4");
  trigger("mnuStart");
  EXPECT_EQ(window.state().viewZoom, 0.25);
  PositionTexts shown;
  cancelRecording(shown);
  trigger("mnuLie");
  EXPECT_EQ(shown.zoom, "0.25");
}

TEST_F(ViewSteering, RestoreMouseDropsAPendingStep) {
  trigger("mnuZoomOut16");
  PositionTexts shown;
  cancelRecording(shown);
  trigger("mnuLie");
  EXPECT_EQ(shown.zoom, "0.0625");
  trigger("mnuStart");
  EXPECT_EQ(window.state().viewZoom, 1);
}

TEST_F(ViewSteering, NewDrawsTheHomeViewAtOnceAndKeepsAPendingStep) {
  window.dialogs().position.numx = 0.3;
  window.dialogs().position.ct = 40;
  window.dialogs().dimension.numDx = 0.5;
  trigger("mnuZoomOut2");
  trigger("mnuNew");
  EXPECT_EQ(window.state().viewZoom, 0.5);
  EXPECT_EQ(window.state().viewX, -0.5);
  EXPECT_EQ(window.state().viewTurn, 0);
  EXPECT_EQ(window.state().dimX, 0);
  EXPECT_EQ(window.picture().image(), expectedPicture());
}

TEST_F(ViewSteering, ADragAndOkDrawsTheFramedView) {
  trigger("mnuStart");
  PositionTexts shown;
  whenPositionDialogShows([&shown](PositionDialog& dialog) {
    shown = dialog.texts();
    QTest::keyClick(dialog.txtZoom, Qt::Key_Return);
  });
  drag({200, 150}, {240, 150});
  EXPECT_EQ(shown.zoom, "5");
  EXPECT_EQ(shown.x, "-0.5");
  EXPECT_EQ(shown.round, "0");
  EXPECT_EQ(window.state().viewZoom, 5);
  EXPECT_EQ(window.picture().image(), expectedPicture());
}

TEST_F(ViewSteering, ADragLeftWithEscLeavesThePictureAsItWas) {
  trigger("mnuStart");
  const QImage before = window.picture().image();
  PositionTexts shown;
  cancelRecording(shown);
  drag({120, 200}, {170, 230});
  EXPECT_FALSE(shown.zoom.empty());
  EXPECT_EQ(window.picture().image(), before);
}

TEST_F(ViewSteering, AFrameDrawnBeforeAnyPassLeavesNoTrace) {
  PositionTexts shown;
  cancelRecording(shown);
  drag({100, 100}, {60, 140});
  EXPECT_FALSE(shown.zoom.empty());
  EXPECT_EQ(backgroundPixels(), 400 * 300);
}

TEST_F(ViewSteering, ARightPressCancelsTheSelectionWithoutADialog) {
  trigger("mnuStart");
  const QImage before = window.picture().image();
  const QPoint border(PictureBox::kBorder, PictureBox::kBorder);
  QTest::mousePress(&window.picture(), Qt::LeftButton, {}, QPoint(100, 100) + border);
  QTest::mouseMove(&window.picture(), QPoint(150, 120) + border);
  QTest::mousePress(&window.picture(), Qt::RightButton, {}, QPoint(150, 120) + border);
  QTest::mouseRelease(&window.picture(), Qt::LeftButton, {}, QPoint(150, 120) + border);
  EXPECT_FALSE(window.positionDialog().loaded());  // no dialog was opened
  EXPECT_EQ(window.picture().image(), before);
}

TEST_F(ViewSteering, TheDialogConfirmedDuringAPassRestartsItWithTheNewView) {
  QTimer::singleShot(0, &window, [this] {
    confirmWith({"2", "", "", ""});
    window.lie();
  });
  trigger("mnuStart");
  EXPECT_FALSE(window.passRunning());
  EXPECT_EQ(window.state().viewZoom, 2);
  EXPECT_EQ(window.picture().image(), expectedPicture());
}

}  // namespace
}  // namespace orvane
