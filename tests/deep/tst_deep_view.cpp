// Reading deep views: plain decimals of any length are taken, anything else is refused.
#include "deep/deep_view.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::deep {
namespace {

TEST(DeepView, RefusesTextThatIsNotAPlainDecimal) {
  for (const char* text : {"", "-", ".", "e5", "1e", "1e+", "1.2.3", " 1", "1 ", "1,5", "0x10",
                           "inf", "nan", "@nan@", "1e99999999999999999999", "1_0", "+-1"}) {
    EXPECT_EQ(readDeepView(text, "0", "1").bad, DeepViewField::kCentreX) << text;
    EXPECT_EQ(readDeepView("0", text, "1").bad, DeepViewField::kCentreY) << text;
    EXPECT_EQ(readDeepView("0", "0", text).bad, DeepViewField::kZoom) << text;
  }
  for (const char* zoom : {"0", "0.0e7", "1e-999999999999", "1e400000"})
    EXPECT_EQ(readDeepView("0", "0", zoom).bad, DeepViewField::kZoom) << zoom;
}

TEST(DeepView, ReadsAnyLengthAtTheMagnificationsPrecision) {
  const std::string third = "-0." + std::string(2000, '3') + "e+0";
  DeepViewReading reading = readDeepView(third, "+.5", "1e1000");
  ASSERT_TRUE(reading.view);
  const DeepView& view = *reading.view;
  // log2(1e1000) = 3321.9, log2(100) = 6.6: 3329 bits reach a pixel, 80 more below it.
  EXPECT_EQ(view.precisionBits, 3322 + 7 + kPrecisionMarginBits);
  EXPECT_EQ(view.zoom.exponent(), 3322);
  EXPECT_EQ(mpfr_cmp_d(view.centreY.get(), 0.5), 0);
  MpfrNumber expected(view.precisionBits);  // 2000 digits settle every bit of the rounding
  mpfr_set_si(expected.get(), -1, MPFR_RNDN);
  mpfr_div_ui(expected.get(), expected.get(), 3, MPFR_RNDN);
  EXPECT_TRUE(mpfr_equal_p(expected.get(), view.centreX.get()));

  reading = readDeepView("3", "1.5E+3", "3.5e-2");  // the centre's 11 integer bits come on top
  ASSERT_TRUE(reading.view);
  EXPECT_EQ(reading.view->precisionBits, 3 + 11 + kPrecisionMarginBits);
}

}  // namespace
}  // namespace orvane::deep
