// The picture surface: pixels, lines in copy and invert mode, clearing, pointer and mouse.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "picture_box.h"

namespace orvane {
namespace {

constexpr Colour kRed = packColour(255, 0, 0);

class PictureBoxTest : public testing::Test {
 protected:
  // A picture with something on it, so inversion is tested over varied colours.
  void paintGradient() {
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x)
        picture.setPixel(x, y, packColour(x % 256, y % 256, (x * y) % 256));
  }

  PictureBox picture{400, 300};
};

TEST_F(PictureBoxTest, IsFourHundredByThreeHundredInsideATwoPixelBorder) {
  EXPECT_EQ(picture.size(), QSize(404, 304));
  EXPECT_EQ(picture.contentsRect(), QRect(2, 2, 400, 300));
  EXPECT_EQ(picture.frameWidth(), 2);
  EXPECT_EQ(picture.image().size(), QSize(400, 300));
}

TEST_F(PictureBoxTest, StartsEmptyInInvertModeAndClearsToTheButtonFace) {
  EXPECT_EQ(picture.penMode(), PenMode::invert);
  const QRgb face = picture.palette().color(QPalette::Button).rgb();
  EXPECT_EQ(picture.image().pixel(0, 0), face);
  picture.setPenMode(PenMode::copy);
  paintGradient();
  picture.clear();
  for (QPoint p : {QPoint(0, 0), QPoint(399, 299), QPoint(200, 150)})
    EXPECT_EQ(picture.image().pixel(p), face);
}

TEST_F(PictureBoxTest, SetsPixelsInTheirColourInCopyMode) {
  picture.setPenMode(PenMode::copy);
  picture.setPixel(3, 4, packColour(1, 2, 3));
  EXPECT_EQ(picture.image().pixel(3, 4), qRgb(1, 2, 3));
  picture.setPixel(-1, 0, kRed);  // off the surface: ignored
  picture.setPixel(400, 299, kRed);
}

TEST_F(PictureBoxTest, InvertedLinesDrawnTwiceRestoreThePictureExactly) {
  picture.setPenMode(PenMode::copy);
  paintGradient();
  const QImage before = picture.image().copy();
  picture.setPenMode(PenMode::invert);
  const QLineF lines[] = {{10.5f, 20.25f, 390.f, 280.f},
                          {200, 150, 201, 150},
                          {0, 299, 399, 0},
                          {50, 50, 50, 50},
                          {-30, 10, 430, 40}};
  for (const QLineF& line : lines) picture.drawLine(line.p1(), line.p2(), kRed);
  EXPECT_NE(picture.image(), before);
  for (const QLineF& line : lines) picture.drawLine(line.p1(), line.p2(), kRed);
  EXPECT_EQ(picture.image(), before);
}

TEST_F(PictureBoxTest, InvertedLinesIgnoreTheirColour) {
  picture.setPenMode(PenMode::copy);
  picture.setPixel(7, 3, packColour(10, 200, 30));
  picture.setPenMode(PenMode::invert);
  picture.drawLine({0, 3}, {20, 3}, kRed);
  EXPECT_EQ(picture.image().pixel(7, 3), qRgb(245, 55, 225));
}

TEST_F(PictureBoxTest, CopyModeLinesTakeTheirColourAndStay) {
  picture.setPenMode(PenMode::copy);
  picture.drawLine({10, 10}, {20, 10}, kRed);
  picture.drawLine({10, 10}, {20, 10}, kRed);
  for (int x = 10; x <= 20; ++x) EXPECT_EQ(picture.image().pixel(x, 10), qRgb(255, 0, 0)) << x;
}

TEST_F(PictureBoxTest, PointerShapes) {
  const std::pair<Pointer, Qt::CursorShape> shapes[] = {{Pointer::hourglass, Qt::WaitCursor},
                                                        {Pointer::crosshair, Qt::CrossCursor},
                                                        {Pointer::hand, Qt::PointingHandCursor},
                                                        {Pointer::normal, Qt::ArrowCursor}};
  for (auto [pointer, shape] : shapes) {
    picture.setPointer(pointer);
    EXPECT_EQ(picture.cursor().shape(), shape);
  }
}

TEST_F(PictureBoxTest, ReportsMouseButtonsAndSurfacePositions) {
  QSignalSpy pressed(&picture, &PictureBox::mousePressed);
  QSignalSpy moved(&picture, &PictureBox::mouseMoved);
  QSignalSpy released(&picture, &PictureBox::mouseReleased);
  // Widget position (12, 7) is surface pixel (10, 5): the border is 2 pixels.
  QTest::mousePress(&picture, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 7));
  QTest::mouseMove(&picture, QPoint(52, 37));
  QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(52, 37));
  QTest::mousePress(&picture, Qt::RightButton, {}, QPoint(2, 2));
  QTest::mousePress(&picture, Qt::MiddleButton, {}, QPoint(1, 1));

  ASSERT_EQ(pressed.size(), 3);
  EXPECT_EQ(pressed[0][0].toInt(), mouse_button::kLeft);
  EXPECT_EQ(pressed[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  EXPECT_EQ(pressed[0][2].toPointF(), QPointF(10, 5));
  EXPECT_EQ(pressed[1][0].toInt(), mouse_button::kRight);
  EXPECT_EQ(pressed[1][2].toPointF(), QPointF(0, 0));
  EXPECT_EQ(pressed[2][0].toInt(), mouse_button::kMiddle);
  EXPECT_EQ(pressed[2][2].toPointF(), QPointF(-1, -1));  // on the border: outside the surface
  ASSERT_GE(moved.size(), 1);
  EXPECT_EQ(moved.last()[2].toPointF(), QPointF(50, 35));
  ASSERT_EQ(released.size(), 1);
  EXPECT_EQ(released[0][0].toInt(), mouse_button::kLeft);
  EXPECT_EQ(released[0][2].toPointF(), QPointF(50, 35));
}

}  // namespace
}  // namespace orvane
