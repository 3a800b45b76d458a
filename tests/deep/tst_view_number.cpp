// View numbers: plain decimals of any length are taken and anything else refused; each keeps
// its text, its nearest double and its value at any precision.
#include "deep/view_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace orvane::deep {
namespace {

ViewNumber number(const std::string& text) {
  const std::optional<ViewNumber> read = ViewNumber::read(text);
  EXPECT_TRUE(read) << text;
  return read.value_or(ViewNumber::of(0));
}

TEST(ViewNumber, RefusesTextThatIsNotAPlainDecimal) {
  for (const char* text : {"", "-", ".", "e5", "1e", "1e+", "1.2.3", " 1", "1 ", "1,5", "0x10",
                           "inf", "nan", "@nan@", "1e99999999999999999999", "1_0", "+-1", "１"})
    EXPECT_FALSE(ViewNumber::read(text)) << text;
  for (const char* text : {"0", "-0", "+.5", "5.", "1E+3", "-0.0e-7", "1e-99999999999"})
    EXPECT_TRUE(ViewNumber::read(text)) << text;
}

TEST(ViewNumber, NearestDoubleHeldWithinTheDoublesRange) {
  EXPECT_EQ(number("0.1").nearest(), 0.1);
  EXPECT_EQ(number("2.5e-310").nearest(), 2.5e-310) << "subnormals round correctly";
  EXPECT_TRUE(number("-2.5e-310").roundsToDouble());
  EXPECT_EQ(number("1e400").nearest(), DBL_MAX);
  EXPECT_FALSE(number("1e400").roundsToDouble());
  EXPECT_EQ(number("-1e-400").nearest(), -DBL_TRUE_MIN);
  EXPECT_FALSE(number("-1e-400").roundsToDouble());
  EXPECT_TRUE(std::signbit(number("-0").nearest()));
  EXPECT_FALSE(number("-0").isNegative()) << "-0 is no negative magnification";
  // 0.1 + 2^-60: the double is 0.1's, and only more bits tell them apart.
  const ViewNumber near = number("0.10000000000000000086736173798840354720596224069595");
  EXPECT_EQ(near.nearest(), 0.1);
  EXPECT_NE(mpfr_cmp_d(near.exact(128).get(), 0.1), 0);
}

TEST(ViewNumber, SizeBeyondEveryDouble) {
  const ViewNumber huge = number("3e1000");
  // 3e1000 = 2^3323.4...
  EXPECT_EQ(huge.binaryExponent(), 3324);
  EXPECT_EQ(huge.wide().exponent(), 3324);
  EXPECT_NEAR(std::log2(huge.wide().mantissa()) + 3324, std::log2(3.0) + 1000 * std::log2(10.0),
              1e-9);
  EXPECT_TRUE(number("0e99999999").isZero());
  EXPECT_FALSE(number("1e-99999999999").isZero()) << "below MPFR's exponents, yet not 0";
  EXPECT_TRUE(number("1e-99999999999").wide().isZero());
}

TEST(ViewNumber, ExactAtAnyPrecision) {
  const ViewNumber third = number("-0." + std::string(2000, '3'));
  MpfrNumber expected(3000);
  mpfr_set_si(expected.get(), -1, MPFR_RNDN);
  mpfr_div_ui(expected.get(), expected.get(), 3, MPFR_RNDN);
  EXPECT_TRUE(mpfr_equal_p(expected.get(), third.exact(3000).get()));
}

TEST(ViewNumber, ADoubleReadsBackExactly) {
  for (const double value : {0.1, -1.0 / 3, 1e300, 5e-324, -0.0, 12345.0}) {
    const ViewNumber n = ViewNumber::of(value);
    EXPECT_EQ(n.nearest(), value) << n.text();
    EXPECT_EQ(std::signbit(n.nearest()), std::signbit(value));
    EXPECT_EQ(ViewNumber::read(n.text())->text(), n.text());
  }
  EXPECT_EQ(ViewNumber::of(0.1).text(), "0.1");
}

}  // namespace
}  // namespace orvane::deep
