// Deep views: the precision a view needs, and the MPFR numbers it is read into.
#include "deep/deep_view.h"

#include <gtest/gtest.h>

#include <string>

#include "view_numbers.h"

namespace orvane::deep {
namespace {

using testing::number;

TEST(DeepView, ReadsAtTheMagnificationsPrecision) {
  const std::string third = "-0." + std::string(2000, '3') + "e+0";
  std::optional<DeepView> view = readDeepView(number(third), number("+.5"), number("1e1000"));
  ASSERT_TRUE(view);
  // log2(1e1000) = 3321.9, log2(100) = 6.6: 3329 bits reach a pixel, 80 more below it.
  EXPECT_EQ(view->precisionBits, 3322 + 7 + kPrecisionMarginBits);
  EXPECT_EQ(view->zoom.exponent(), 3322);
  EXPECT_EQ(mpfr_cmp_d(view->centreY.get(), 0.5), 0);
  MpfrNumber expected(view->precisionBits);  // 2000 digits settle every bit of the rounding
  mpfr_set_si(expected.get(), -1, MPFR_RNDN);
  mpfr_div_ui(expected.get(), expected.get(), 3, MPFR_RNDN);
  EXPECT_TRUE(mpfr_equal_p(expected.get(), view->centreX.get()));

  // The centre's 11 integer bits come on top.
  view = readDeepView(number("3"), number("1.5E+3"), number("3.5e-2"));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->precisionBits, 3 + 11 + kPrecisionMarginBits);
}

}  // namespace
}  // namespace orvane::deep
