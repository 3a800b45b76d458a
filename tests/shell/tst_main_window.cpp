// The main window wires menus, toolbar, status bar, mouse and dialogs to the logic beneath:
// each case drives the window as a user would and compares its picture with the engine's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "platform/picture_box.h"
#include "shell/main_window.h"
#include "shell/status_bar.h"
#include "view_rows.h"

namespace orvane {
namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  // What a whole pass draws for the window's state as it now is.
  QImage enginesPicture() {
    PictureBox expected(400, 300);
    RenderPass(window.state(), window.dialogs(), expected, [] {}).drawings();
    return expected.image();
  }

  MainWindow window;
};

// Option and zoom items only store; Ctrl+S draws with them and Ctrl+C clears (it is no copy).
// The toolbar's zoom-out replaces a pending step with its own 2 and draws at once; the status
// bar shows the new magnification when clicked.
TEST_F(MainWindowTest, MenuToolbarAndStatusBarReachTheStateAndThePass) {
  window.menuItems().array("mnuDeeps").at(7)->trigger();
  window.menuItems().item("mnuZoomOut4")->trigger();
  const QImage empty = window.picture().image();
  QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(window.state().iterDepth, 2048);
  EXPECT_EQ(window.state().viewZoom, 0.25);
  EXPECT_EQ(window.picture().image(), enginesPicture());
  QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(window.picture().image(), empty);

  window.menuItems().item("mnuZoomOut16")->trigger();
  QToolBar& toolbar = window.toolbar();
  QTest::mouseClick(toolbar.widgetForAction(toolbar.actions().at(3)), Qt::LeftButton);  // "扩大"
  EXPECT_EQ(window.state().viewZoom, 0.125);
  EXPECT_EQ(window.picture().image(), enginesPicture());
  QLabel* zoomPanel = window.statusPanels().panel(4);
  QTest::mouseClick(zoomPanel, Qt::LeftButton);
  EXPECT_EQ(zoomPanel->text(), "-1");  // log10(0.125) = -0.9, floored
}

// A drag (surface pixels inside the picture's border) fills the position dialog. A text the
// dialog cannot take is marked beside its box, with no message box, and nothing is stored
// until it is put right; then OK stores the view and draws it.
TEST_F(MainWindowTest, ADragFillsThePositionDialogWhichRefusesBadTextThenDraws) {
  const QPoint border(PictureBox::kBorder, PictureBox::kBorder);
  QTest::mousePress(&window.picture(), Qt::LeftButton, {}, QPoint(200, 150) + border);
  QTest::mouseMove(&window.picture(), QPoint(240, 100) + border);
  QTimer::singleShot(0, &window, [this] {  // runs in the modal dialog's event loop
    auto* dialog = qobject_cast<PositionDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(boxes(dialog->texts()), "5 -0.5 0 0");
    dialog->txtX->setText("abc");
    dialog->OKButton->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isMarked(dialog->txtX));
    EXPECT_TRUE(dialog->hintLine()->isVisible());
    EXPECT_EQ(window.dialogs().position.numzoom, 0);
    QTest::keyClicks(dialog->txtX, "0.5");
    EXPECT_FALSE(dialog->hintLine()->isVisible());
    QTest::keyClick(dialog->txtX, Qt::Key_Return);
  });
  QTest::mouseRelease(&window.picture(), Qt::LeftButton, {}, QPoint(240, 150) + border);
  EXPECT_EQ(boxes(prepareLie(window.state(), window.dialogs().position)), "5 0.5 0 0");
  EXPECT_EQ(window.picture().image(), enginesPicture());
}

}  // namespace
}  // namespace orvane
