// End-to-end sessions with the real program on an X display: keys and the pointer go in
// through xdotool as a person's would, and the picture on screen is compared pixel for pixel
// with the PNG that orvane-render writes for the view worked out by hand.
#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QStringList>

#include "desktop_session.h"

namespace {

using namespace orvane::e2e;

const QString kPosition = QStringLiteral("位置控制");
const QString kDimension = QStringLiteral("高维形状参数[中心对称的龙、混沌残疾的人]");

class DesktopSession : public ProgramSession {};

// The quick path: the window's first pass equals the renderer's, and Exit ends the process
// cleanly, which only the real binary shows.
TEST_F(DesktopSession, StartDrawsTheRenderersPictureAndExitEndsWithStatusZero) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  type({"ctrl+x"});
  ASSERT_TRUE(program_->waitForFinished(5000)) << "the program still runs after Exit";
  EXPECT_EQ(program_->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_->exitCode(), 0);
}

// A real pointer: press at (250, 125), release 40 pixels right and 20 down. On the home view
// that centres the plane point (-0.75, -0.5) at 200 / 40 = 5 times, and the slope 0.5 turns
// the frame by 120 degrees, so the view's rotation becomes 360 - 120.
TEST_F(DesktopSession, DragConfirmedWithEnterDrawsTheFramedView) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  const QImage framed = render({"--zoom=5", "--center=-0.75,-0.5", "--rotation=240"});
  const QString press =
      QStringLiteral("mousemove %1 %2 mousedown 1").arg(origin_.x() + 250).arg(origin_.y() + 125);
  EXPECT_TRUE(
      xdotool((press + QString(" sleep 0.06 mousemove_relative 20 10").repeated(2) + " mouseup 1")
                  .split(' ')));
  ASSERT_TRUE(waitForWindow(kPosition));
  closeWithKey(kPosition, "Return");
  pointerAside();
  expectPicture(framed);
}

// From the Mandelbrot home view, Julia leads through the dimension dialog to the position
// dialog, which offers the view (1, 0, 0). A constant that does not read keeps the first
// dialog open and the second unopened; the corrected one is what gets drawn.
TEST_F(DesktopSession, JuliaByKeyboardDrawsOnceTheConstantReads) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  type({"alt+n", "j"});
  ASSERT_TRUE(waitForWindow(kDimension));
  type({"ctrl+a", "a", "b", "c", "Return"});
  pause(1000);
  EXPECT_TRUE(windowTitled(kDimension)) << "the dialog closed on a constant that does not read";
  EXPECT_FALSE(windowTitled(kPosition)) << "the position dialog opened on a bad constant";
  type({"ctrl+a", "minus", "1"});
  closeWithKey(kDimension, "Return");
  ASSERT_TRUE(waitForWindow(kPosition));
  closeWithKey(kPosition, "Return");
  expectPicture(render({"--formula=julia", "--components=-1,0", "--zoom=1", "--center=0,0"}));
}

}  // namespace
