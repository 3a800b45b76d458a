// End-to-end runs of the mouse selection: a drag on the picture opens the position dialog
// with the framed view, OK draws it, Esc and a right press leave the picture as it was. The
// expected view is worked out here from the pixels of the gesture, and its picture comes from
// orvane-render.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "desktop_session.h"

namespace {

using namespace orvane::e2e;

const QString kDialog = QStringLiteral("位置控制");

// The texts of the position dialog's four boxes.
struct Boxes {
  QString zoom, x, y, rotation;
};

bool operator==(const Boxes& a, const Boxes& b) {
  return a.zoom == b.zoom && a.x == b.x && a.y == b.y && a.rotation == b.rotation;
}

std::ostream& operator<<(std::ostream& out, const Boxes& boxes) {
  return out << "zoom " << boxes.zoom.toStdString() << ", centre " << boxes.x.toStdString() << ","
             << boxes.y.toStdString() << ", rotation " << boxes.rotation.toStdString();
}

// A view as the program holds it after OK; at start-up the Mandelbrot home view reads as
// magnification 1 centred on (-0.5, 0).
struct View {
  double zoom = 1;
  double x = -0.5;
  double y = 0;
  int rotation = 0;
};

QString general15(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15G", value);
  return QString::fromLatin1(text);
}

// What the dialog offers after a drag from `press` to `release` (surface pixels) on `view`.
Boxes offered(const View& view, bool rotationOn, QPoint press, QPoint release) {
  constexpr double pi = 3.14159265358979;
  const float x0 = static_cast<float>(press.x());
  const float y0 = static_cast<float>(press.y());
  float x1 = static_cast<float>(release.x());
  const float y1 = static_cast<float>(release.y());
  if (x1 == x0) x1 = x0 + 1;

  const float slope = (y1 - y0) / std::fabs(x1 - x0);
  double theta = static_cast<double>(slope * 4.0f) * pi / 3;
  const double limit = static_cast<double>(3.14159265358979f);
  if (theta > limit) theta = limit;
  if (theta < -limit) theta = -limit;
  if (!rotationOn) theta = 0;
  const float turn = static_cast<float>(theta);

  const double f = 200.0 / std::fabs(x0 - x1);
  const int r = rotationOn ? view.rotation : 0;
  const double t = r / 180.0 * pi;
  const float u = (200 - x0) / 100;
  const float v = (y0 - 150) / 100;
  const double dy = (u * std::cos(t) - v * std::sin(t)) / view.zoom;
  const double dx = (v * std::cos(t) + u * std::sin(t)) / view.zoom;
  const long k = std::lrint(static_cast<double>(turn) / pi * 180 - r);  // halves to even
  // With rotation off the frame never turns and the view is taken upright, so k is 0 and the
  // box shows "0", which OK then ignores.
  return {general15(view.zoom * f), general15(view.x + dx), general15(view.y + dy),
          QString::number((360 - k) % 360)};
}

// What OK stores from the boxes (with rotation off the box holds "0", stored as 0).
View confirmed(const Boxes& boxes) {
  return {boxes.zoom.toDouble(), boxes.x.toDouble(), boxes.y.toDouble(), boxes.rotation.toInt()};
}

QImage rendered(const Boxes& boxes) {
  const View view = confirmed(boxes);
  return render({"--zoom=" + boxes.zoom, "--center=" + boxes.x + "," + boxes.y,
                 "--rotation=" + QString::number(view.rotation)});
}

class MouseNavigation : public ProgramSession {
 protected:
  // Draws the home view and waits for the whole pass.
  void drawHome() {
    home_ = render({});
    type({"ctrl+s"});
    ASSERT_TRUE(locate(home_));
    ASSERT_EQ(differences(settle(finished(home_)), home_), "");
  }

  void pointTo(QPoint surface) {
    const QPoint at = origin_ + surface;
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
  }

  // Presses the left button at `from` and moves to `to` in three steps, as a hand would.
  void pressAndMove(QPoint from, QPoint to) {
    pointTo(from);
    pause(80);
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 3; ++step) {
      pause(60);
      pointTo(from + (to - from) * step / 3);
    }
    pause(60);
  }

  // Waits until the surface differs from `before`: the frame shows while the button is held.
  void expectFrameOver(const QImage& before) {
    QElapsedTimer timer;
    timer.start();
    while (grabSurface() == before) {
      if (timer.elapsed() > kTimeoutMs) {
        ADD_FAILURE() << "no frame showed during the drag";
        return;
      }
      pause(50);
    }
  }

  // The dialog opens with the magnification box focused; Tab walks the boxes, past the
  // rotation button, and leaves the focus in the rotation box, where Return means OK.
  Boxes readBoxes() {
    Boxes boxes;
    boxes.zoom = copyFocusedText();
    type({"Tab"});
    boxes.x = copyFocusedText();
    type({"Tab"});
    boxes.y = copyFocusedText();
    type({"Tab", "Tab"});
    boxes.rotation = copyFocusedText();
    return boxes;
  }

  // Drags on `view`, checks what the dialog offers, confirms it and expects the offered view
  // drawn; returns that view.
  View confirmDrag(const View& view, bool rotationOn, QPoint from, QPoint to) {
    const Boxes boxes = offered(view, rotationOn, from, to);
    SCOPED_TRACE(testing::Message() << "drag " << from.x() << "," << from.y() << " to " << to.x()
                                    << "," << to.y() << " should offer " << boxes);
    const QImage expected = rendered(boxes);
    pressAndMove(from, to);
    xdotool({"mouseup", "1"});
    if (waitForWindow(kDialog)) {
      EXPECT_EQ(readBoxes(), boxes);
      closeWithKey(kDialog, "Return");
      pointerAside();
      EXPECT_EQ(differences(settle(equalTo(expected)), expected), "");
    }
    return confirmed(boxes);
  }

  // Rotation by mouse off: the dialog from the Operate menu, its rotation button, then Esc.
  void switchRotationOff() {
    type({"alt+p", "Down", "Return"});
    ASSERT_TRUE(waitForWindow(kDialog));
    type(repeated("Tab", 3) + QStringList{"space"});
    closeWithKey(kDialog, "Escape");
  }

  QImage home_;
};

TEST_F(MouseNavigation, DragsDrawTheFramedViewsOneAfterAnother) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  // A frame turned by the drag's slope, then one from the new, turned view.
  const View turned = confirmDrag(View{}, true, {250, 140}, {290, 160});
  EXPECT_EQ(turned.rotation, 240);
  const View next = confirmDrag(turned, true, {180, 170}, {230, 150});
  // Steeper than the turn's limit.
  confirmDrag(next, true, {160, 160}, {190, 260});
}

TEST_F(MouseNavigation, WithRotationOffADragKeepsTheViewUpright) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  const View turned = confirmDrag(View{}, true, {220, 110}, {250, 95});
  ASSERT_EQ(turned.rotation, 120);
  ASSERT_NO_FATAL_FAILURE(switchRotationOff());
  // The confirmed rotation plays no part now: the offset is taken upright and OK stores 0.
  const View upright = confirmDrag(turned, false, {170, 180}, {200, 220});
  EXPECT_EQ(upright.rotation, 0);
  confirmDrag(upright, false, {340, 250}, {280, 230});
}

TEST_F(MouseNavigation, EscapeLeavesThePictureAndTheViewAsTheyWere) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  pressAndMove({250, 140}, {290, 160});
  expectFrameOver(home_);
  xdotool({"mouseup", "1"});
  ASSERT_TRUE(waitForWindow(kDialog));
  closeWithKey(kDialog, "Escape");
  pointerAside();
  EXPECT_EQ(differences(settle(equalTo(home_), 3), home_), "");
  // Nothing was stored either: the next drag still starts from the home view. Its release
  // in the press column counts one pixel to the right, and turns the view to the limit.
  confirmDrag(View{}, true, {200, 10}, {200, 40});
}

TEST_F(MouseNavigation, FrameBeforeAnyPassLeavesNoTrace) {
  ASSERT_TRUE(locateBlank()) << "no blank surface on screen";
  const QPoint blankAt = origin_;
  pressAndMove({200, 150}, {260, 190});
  expectFrameOver(blank());
  xdotool({"mouseup", "1"});
  ASSERT_TRUE(waitForWindow(kDialog));
  closeWithKey(kDialog, "Escape");
  pointerAside();
  EXPECT_EQ(differences(settle(equalTo(blank()), 3), blank()), "");
  // The block found was the surface: the first pass shows there.
  const QImage home = render({});
  type({"ctrl+s"});
  ASSERT_TRUE(locate(home));
  EXPECT_EQ(origin_, blankAt);
}

TEST_F(MouseNavigation, RightPressCancelsTheDrag) {
  ASSERT_NO_FATAL_FAILURE(drawHome());
  pressAndMove({250, 140}, {290, 160});
  expectFrameOver(home_);
  xdotool({"click", "3"});
  // The frame goes with the right press, while the left button is still held.
  EXPECT_EQ(differences(settle(equalTo(home_)), home_), "");
  pause(60);
  xdotool({"mouseup", "1"});
  pause(1000);
  EXPECT_FALSE(windowTitled(kDialog)) << "the position dialog opened after a cancelled drag";
  pointerAside();
  EXPECT_EQ(differences(settle(equalTo(home_), 3), home_), "");
}

}  // namespace
