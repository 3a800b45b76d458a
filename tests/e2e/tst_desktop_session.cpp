// End-to-end sessions with the real program on an X display: keys and clicks go in through
// xdotool as a person's would, and the picture on screen is compared pixel for pixel with
// the PNG that orvane-render writes for the same view.
#include <gtest/gtest.h>

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <optional>

#include "desktop_session.h"

namespace {

using namespace orvane::e2e;

bool rowIs(const QImage& image, int y, QRgb colour) {
  for (int x = 0; x < image.width(); ++x)
    if (image.pixel(x, y) != colour) return false;
  return true;
}

class DesktopSession : public ProgramSession {
 protected:
  // The Operate menu by keyboard: Alt+P opens it on its first item, and Down skips separators.
  void chooseLineMode() {
    type(QStringList{"alt+p"} + repeated("Down", 5) + QStringList{"Return"});
  }
  void chooseDepth2048() {
    type(QStringList{"alt+p"} + repeated("Down", 7) + QStringList{"Right"} + repeated("Down", 7) +
         QStringList{"Return"});
  }

  // The program must end by itself, soon, with status 0.
  void expectCleanExit() {
    ASSERT_TRUE(program_->waitForFinished(3000)) << "the program is still running";
    EXPECT_EQ(program_->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_->exitCode(), 0);
  }
};

TEST_F(DesktopSession, StartDrawsWhatTheRendererDraws) {
  const QImage home = render({});
  type({"ctrl+s"});
  ASSERT_TRUE(locate(home));
  EXPECT_EQ(differences(startup_.copy(QRect(origin_, QSize(kWidth, kHeight))), blank()), "")
      << "the surface was not a uniform background before the first pass";
  const QImage shown = settle(finished(home));
  EXPECT_EQ(differences(shown, home), "");
}

TEST_F(DesktopSession, StopLeavesTopRowsAndClearEmptiesThePicture) {
  const QImage deep = render({"--grid", "line", "--depth", "2048"});
  chooseLineMode();
  chooseDepth2048();
  // One call, with no delay between the keys: even at this depth a pass is short, and Stop
  // must arrive while it runs.
  xdotool({"key", "--delay", "0", "ctrl+s", "ctrl+p"});
  ASSERT_TRUE(locate(deep));
  const QImage stopped = settle([](const QImage&) { return true; }, 3);
  int drawnRows = 0;
  while (drawnRows < kHeight && !rowIs(stopped, drawnRows, background_)) ++drawnRows;
  EXPECT_GE(drawnRows, 1);
  EXPECT_TRUE(rowIs(stopped, kHeight - 1, background_)) << "the pass was not stopped";
  EXPECT_EQ(differences(stopped.copy(0, 0, kWidth, drawnRows), deep.copy(0, 0, kWidth, drawnRows)),
            "");
  for (int y = drawnRows; y < kHeight; ++y)
    ASSERT_TRUE(rowIs(stopped, y, background_)) << "row " << y << " is partly drawn";

  type({"ctrl+c"});
  EXPECT_EQ(differences(settle(equalTo(blank())), blank()), "");

  // A whole pass now shows that the menus took effect: the depth changes the inside.
  type({"ctrl+s"});
  EXPECT_EQ(differences(settle(finished(deep)), deep), "");
}

TEST_F(DesktopSession, ZoomOutButtonWidensTheViewTwiceAndDraws) {
  const QImage home = render({});
  const QImage wider = render({"--zoom", "0.5"});
  type({"ctrl+s"});
  ASSERT_TRUE(locate(home));
  ASSERT_EQ(differences(settle(finished(home)), home), "");

  QImage icon(QStringLiteral(ORVANE_ICON_DIR "/toolbar_zoom_out.png"));
  ASSERT_FALSE(icon.isNull());
  icon = icon.convertToFormat(QImage::Format_ARGB32);
  const std::optional<QPoint> button = findIcon(grabScreen(), icon);
  ASSERT_TRUE(button) << "the zoom-out button is not on screen";
  const QPoint centre = *button + QPoint(icon.width() / 2, icon.height() / 2);
  xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
  pointerAside();
  EXPECT_EQ(differences(settle(equalTo(wider)), wider), "");
}

TEST_F(DesktopSession, ExitDuringAPassEndsWithStatusZero) {
  chooseLineMode();
  chooseDepth2048();
  // As with Stop, Exit arrives while the pass runs.
  xdotool({"key", "--delay", "0", "ctrl+s", "ctrl+x"});
  expectCleanExit();
}

TEST_F(DesktopSession, ClosingTheWindowDuringAPassEndsWithStatusZero) {
  chooseLineMode();
  chooseDepth2048();
  // Alt+F4 is the window manager's: it asks the window to close, as its title bar does.
  xdotool({"key", "--delay", "0", "ctrl+s", "alt+F4"});
  expectCleanExit();
}

}  // namespace
