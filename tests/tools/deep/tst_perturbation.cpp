// Deep pictures against a direct MPFR iteration of every pixel, and shallow ones against the
// double path: n and reached must agree on at least 99 % of the pixels.
#include "tools/deep/perturbation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "direct_iteration.h"
#include "engine/poster.h"

namespace orvane::deep {
namespace {

// A view as its texts, the other settings as the window would hold them.
struct DeepCase {
  std::string x, y, zoom;
  PointSettings settings;
  PosterSize size{60, 45};
};

// The share of pixels whose n and reached equal those of the direct MPFR iteration, or of the
// double path. Fails when that picture is flat, which would prove nothing.
double agreement(const DeepCase& c, bool againstDirect = true) {
  PointSettings s = c.settings;
  s.viewX = std::strtod(c.x.c_str(), nullptr);  // the double path's view, where it has one
  s.viewY = std::strtod(c.y.c_str(), nullptr);
  s.viewZoom = std::strtod(c.zoom.c_str(), nullptr);
  PointSetup setup = preparePointSetup(s);
  setup.frame = posterFrame(c.size);
  const DeepViewReading reading = readDeepView(c.x, c.y, c.zoom);
  EXPECT_TRUE(reading.view);
  const DeepReference reference(*reading.view, setup);
  const testing::DirectView direct{c.x.c_str(), c.y.c_str(), c.zoom.c_str(),
                                   2 * reading.view->precisionBits};
  int same = 0;
  std::set<int> counts;
  for (int y = 0; y < c.size.height; ++y) {
    for (int x = 0; x < c.size.width; ++x) {
      const std::uint64_t base = (y * c.size.width + x) * setup.randomStride();
      const PointResult deep = iterateDeepPixel(x, y, *reading.view, reference, setup, base);
      const PointResult plain = againstDirect ? testing::iterateDirect(direct, x, y, setup, base)
                                              : iteratePixel(x, y, setup, base);
      same += deep.n == plain.n && deep.reached == plain.reached;
      counts.insert(plain.n);
    }
  }
  EXPECT_GT(counts.size(), 8u) << "a flat picture";
  return double(same) / (c.size.width * c.size.height);
}

std::string decimal(mpfr_srcptr x) {
  char* text = nullptr;
  mpfr_asprintf(&text, "%.*Re", static_cast<int>(mpfr_get_prec(x) * 0.302) + 2, x);
  std::string result(text);
  mpfr_free_str(text);
  return result;
}

// The real nucleus of period p nearest the tip -2: there z_k = 2 cos(2^(k-1) d) with
// c = -2 + d^2, first 0 at d = pi / 2^p; Newton's method on z_p(c) = 0 finishes it. The
// text is the nucleus moved by `shift`, so the reference does not pass through 0 itself.
std::string nucleusNearTip(int period, mpfr_prec_t bits, double shift) {
  MpfrNumber c(bits), z(bits), dz(bits), t(bits);
  mpfr_set_d(c.get(), -2 + std::pow(M_PI / std::ldexp(1.0, period), 2), MPFR_RNDN);
  for (int step = 0; step < 40; ++step) {
    mpfr_set_zero(z.get(), 1);
    mpfr_set_zero(dz.get(), 1);
    for (int k = 0; k < period; ++k) {  // dz <- 2 z dz + 1, z <- z^2 + c
      mpfr_mul(dz.get(), dz.get(), z.get(), MPFR_RNDN);
      mpfr_mul_2ui(dz.get(), dz.get(), 1, MPFR_RNDN);
      mpfr_add_ui(dz.get(), dz.get(), 1, MPFR_RNDN);
      mpfr_sqr(z.get(), z.get(), MPFR_RNDN);
      mpfr_add(z.get(), z.get(), c.get(), MPFR_RNDN);
    }
    mpfr_div(t.get(), z.get(), dz.get(), MPFR_RNDN);
    mpfr_sub(c.get(), c.get(), t.get(), MPFR_RNDN);
  }
  mpfr_add_d(c.get(), c.get(), shift, MPFR_RNDN);
  return decimal(c.get());
}

TEST(Perturbation, AgreesWithTheDoublePathWhereDoubleWorks) {
  DeepCase c{"-0.743643887037151", "0.13182590420533", "1e3", {.iterDepth = 600}, {120, 90}};
  c.settings.turnRad = 0.5;
  EXPECT_GE(agreement(c, false), 0.99);
  c.settings.dimX = 0.125;  // z0 != 0: the critical orbit is an orbit of its own
  EXPECT_GE(agreement(c, false), 0.99);
  c = {"0.1", "-0.6", "1e3", {.formula = formula::kJulia, .juliaX = -0.75, .juliaY = 0.11}};
  c.settings.iterDepth = 300;
  c.settings.jitterHigh = 1.25f;
  EXPECT_GE(agreement(c, false), 0.99);
}

TEST(Perturbation, MatchesDirectNearMisiurewiczPointI) {
  EXPECT_GE(agreement({"0", "1", "1e20", {.turnRad = -0.8, .iterDepth = 200}}), 0.99);
  // Past the doubles' range: the differences start in FloatExp.
  EXPECT_GE(agreement({"0", "1", "1e330", {.iterDepth = 1000}, {24, 18}}), 0.99);
}

TEST(Perturbation, MatchesDirectNearAMinibrotAt1e100) {
  // Off the real axis the reference escapes early, long before the minibrot's pixels. The
  // axis runs between two pixel columns: a column on it would be a whole column of points on
  // a filament, which a 53-bit offset from the centre misses by 1e-16 pixel.
  const std::string x = nucleusNearTip(85, 800, 1e-100);
  EXPECT_GE(agreement({x, "5.5e-101", "1e100", {.iterDepth = 1000}, {40, 30}}), 0.99);
}

TEST(Perturbation, MatchesDirectForJuliaNearAPreimageOfTheCriticalPoint) {
  // c = i: the preimages of 0 are +-sqrt(-i) = +-(1 - i) / sqrt 2. The centre, a pixel of
  // its own, sits a fifth of a pixel beside one, so the reference's next value is c plus a
  // square far below a pixel. The centre has 300 digits; the threshold is jittered.
  MpfrNumber root(1000);
  mpfr_sqrt_ui(root.get(), 2, MPFR_RNDN);
  mpfr_ui_div(root.get(), 1, root.get(), MPFR_RNDN);
  const std::string y = "-" + decimal(root.get());
  mpfr_add_d(root.get(), root.get(), 3e-102, MPFR_RNDN);
  const PointSettings julia{
      .formula = formula::kJulia, .turnRad = 0.2, .juliaY = 1, .iterDepth = 1500};
  DeepCase c{decimal(root.get()), y, "1e100", julia, {24, 18}};
  c.settings.jitterHigh = 1.5f;
  EXPECT_GE(agreement(c), 0.99);
}

}  // namespace
}  // namespace orvane::deep
