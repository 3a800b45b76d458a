// FloatExp against MPFR at 53 bits with an unbounded exponent: every operation rounds its
// mantissa once, as MPFR does, so the results must be equal.
#include "deep/float_exp.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "deep/mpfr_number.h"

namespace orvane::deep {
namespace {

// A random 53-bit number with an exponent beyond the doubles' range, in both forms.
std::pair<MpfrNumber, FloatExp> draw(std::mt19937_64& random, std::int64_t exponent) {
  MpfrNumber x(53);
  mpfr_set_d(x.get(), std::uniform_real_distribution<double>(-1, 1)(random), MPFR_RNDN);
  mpfr_mul_2si(x.get(), x.get(), static_cast<long>(exponent), MPFR_RNDN);
  return {x, toFloatExp(x.get())};  // exact: the mantissa has 53 bits
}

TEST(FloatExp, ArithmeticRoundsAsMpfrAcrossAnyExponent) {
  std::mt19937_64 random(13);
  std::uniform_int_distribution<std::int64_t> exponent(-3000, 3000), near(-70, 70);
  MpfrNumber expected(53);
  for (int i = 0; i < 20000; ++i) {
    const std::int64_t e = exponent(random);
    const auto [ma, a] = draw(random, e);
    const auto [mb, b] = draw(random, i % 2 ? e + near(random) : -e);
    const auto same = [&](FloatExp got, auto mpfrOperation) {
      mpfrOperation(expected.get(), ma.get(), mb.get(), MPFR_RNDN);
      return got == toFloatExp(expected.get());
    };
    ASSERT_TRUE(same(a + b, mpfr_add) && same(a - b, mpfr_sub) && same(a * b, mpfr_mul) &&
                same(a / b, mpfr_div))
        << i;
    ASSERT_EQ(a < b, mpfr_less_p(ma.get(), mb.get())) << i;
    ASSERT_EQ(a.toDouble(), mpfr_get_d(ma.get(), MPFR_RNDN)) << i;  // subnormals, 0, infinity
  }
}

TEST(FloatExp, OrdersZeroAndInfinities) {
  EXPECT_TRUE(FloatExp(0.0) == FloatExp(0.5, -9000) * FloatExp(0.0));
  EXPECT_TRUE(FloatExp(0.5, 9000) < FloatExp(INFINITY));
  EXPECT_TRUE(FloatExp(-INFINITY) < FloatExp(-0.5, 9000));
  EXPECT_FALSE(FloatExp(NAN) < FloatExp(1.0));
}

}  // namespace
}  // namespace orvane::deep
