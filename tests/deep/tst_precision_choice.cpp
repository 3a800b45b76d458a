// The choice between double precision and deep mode, at boundaries worked out by hand: the
// pixels of the window are 1 / (100 Z) apart, a double's step at 2 is 2^-51 = 4.44e-16, so
// at the centre 0 double precision holds up to Z = 1 / (100 * 256 * 2^-51) = 8.80e10.
#include "deep/precision_choice.h"

#include <gtest/gtest.h>

#include "view_numbers.h"

namespace orvane::deep {
namespace {

using testing::number;

bool deep(const char* zoom, const char* x = "0", const char* y = "0", double scale = 1) {
  return choosePrecision(Precision::kAuto, number(zoom), number(x), number(y), scale).deep;
}

TEST(PrecisionChoice, DoubleWhilePixelsStay256StepsApart) {
  EXPECT_FALSE(deep("8.7e10"));
  EXPECT_TRUE(deep("8.9e10"));
  EXPECT_FALSE(deep("-8.7e10")) << "the size of the magnification counts";
  EXPECT_FALSE(deep("4.3e10", "0", "0", 2)) << "a poster twice the size halves the gap";
  EXPECT_TRUE(deep("4.5e10", "0", "0", 2));
  // Near 1e6 a double's step is 2^-33: the bound is 1 / (100 * 256 * 2^-33) = 3.36e5.
  EXPECT_FALSE(deep("3.3e5", "1e6"));
  EXPECT_TRUE(deep("3.4e5", "0", "-1e6"));
  EXPECT_FALSE(deep("0")) << "0 reads as 1";
}

TEST(PrecisionChoice, DeepBeyondTheDoublesRange) {
  EXPECT_TRUE(deep("1e400"));
  EXPECT_TRUE(deep("1e-400"));
  EXPECT_TRUE(deep("1", "1e-320")) << "a subnormal centre has lost bits";
  EXPECT_TRUE(deep("1", "0", "1e400"));
}

TEST(PrecisionChoice, AskedForPrecisionWins) {
  EXPECT_FALSE(
      choosePrecision(Precision::kDouble, number("1e400"), number("0"), number("0"), 1).deep);
  EXPECT_TRUE(choosePrecision(Precision::kDeep, number("1"), number("0"), number("0"), 1).deep);
}

TEST(PrecisionChoice, RangesOfWhatCanBeDrawn) {
  EXPECT_TRUE(zoomInRange(number("1e315000")));
  EXPECT_FALSE(zoomInRange(number("1e316000")));
  EXPECT_FALSE(zoomInRange(number("1e-316000")));
  EXPECT_TRUE(zoomInRange(number("0e99999999"))) << "0 reads as 1";
  EXPECT_FALSE(zoomInRange(number("1e-99999999999"))) << "not 0, yet of no size";
  EXPECT_TRUE(centreInRange(number("-1e315000")));
  EXPECT_FALSE(centreInRange(number("1e316000")));
  EXPECT_TRUE(fitsDouble(number("1e308")));
  EXPECT_FALSE(fitsDouble(number("1e309")));
  EXPECT_FALSE(fitsDouble(number("1e-310")));
}

}  // namespace
}  // namespace orvane::deep
