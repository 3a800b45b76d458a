// The picture surface: lines in invert mode, which the drag frame relies on to erase itself.
#include <gtest/gtest.h>

#include "platform/picture_box.h"

namespace orvane {
namespace {

// Fractional ends, a single point and lines leaving the surface, over varied colours.
TEST(PictureBox, InvertedLinesDrawnTwiceRestoreThePictureExactly) {
  PictureBox picture(400, 300);
  picture.setPenMode(PenMode::copy);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) picture.setPixel(x, y, packColour(x % 256, y % 256, x * y % 256));
  const QImage before = picture.image().copy();
  picture.setPenMode(PenMode::invert);
  const QLineF lines[] = {{10.5, 20.25, 390, 280},
                          {0, 3, 20, 3},
                          {0, 299, 399, 0},
                          {50, 50, 50, 50},
                          {-30, 9, 430, 40}};
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(picture.image().pixel(7, 3), pass == 0 ? qRgb(7, 3, 21) : qRgb(248, 252, 234));
    for (const QLineF& line : lines) picture.drawLine(line.p1(), line.p2(), packColour(255, 0, 0));
  }
  EXPECT_EQ(picture.image(), before);
}

}  // namespace
}  // namespace orvane
