// One point: the pixel mapping as a pass prepares it, the quadratic and Hole iterations
// against orbits worked out by hand (q compared as a 32-bit float), the jittered threshold,
// and the double bound that stands in for the float comparison.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/load_routine.h"
#include "engine/point_iteration.h"
#include "engine/random_sequence.h"
#include "engine/render_pass.h"

namespace orvane {
namespace {

using namespace formula;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What a pass computes with after the load routine and these dialog values.
PointSetup prepared(std::int16_t drawing, double zoom, double x, double y, std::int16_t ct,
                    DimensionValues dimension = {}) {
  ExplorerState state;
  DialogValues dialogs{{zoom, x, y, ct, 1}, dimension, {}};
  formLoad(state, dialogs);
  state.drawing = drawing;
  preparePass(state, dialogs);
  return preparePointSetup(capturePointSettings(state, dialogs, state.drawing));
}

void expectResult(const PointResult& got, const PointResult& want, const char* name) {
  const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  EXPECT_TRUE(got.n == want.n && got.reached == want.reached && same(got.m, want.m) &&
              same(got.q, want.q))
      << name << ": n " << got.n << ", m " << got.m << ", q " << got.q;
}

TEST(Mapping, PixelToPlane) {
  const auto map = [](const char* name, std::int16_t drawing, double zoom, double x, double y,
                      std::int16_t ct, int px, int py, double re, double im) {
    const Complex p = mapPixel(px, py, prepared(drawing, zoom, x, y, ct));
    EXPECT_NEAR(p.re, re, 1e-12) << name;
    EXPECT_NEAR(p.im, im, 1e-12) << name;
  };
  // Rotation 0 runs the real axis down the picture and the imaginary axis from right to left;
  // a positive rotation turns by the negative angle. The home view moves to -0.5.
  map("homeTop", kMandelbrot, 1, 0, 0, 0, 200, 0, -2, 0);
  map("homeLeft", kMandelbrot, 1, 0, 0, 0, 0, 150, -0.5, 2);
  map("homeRight", kMandelbrot, 1, 0, 0, 0, 399, 150, -0.5, -1.99);
  map("zoomedJulia", kJulia, 4, 0.25, -1, 0, 0, 0, -0.125, -0.5);
  map("quarterTurnRight", kJulia, 1, 0, 0, 90, 399, 150, -1.99, 0);
  map("quarterTurnTop", kJulia, 1, 0, 0, 90, 200, 0, 0, 1.5);
  map("turned30", kMandelbrot, 1, 0, 0, 30, 300, 150, -1, -0.8660254037844386);
  // Degrees become radians with pi written as 3.14159265358979.
  EXPECT_EQ(prepared(kJulia, 1, 0, 0, 180).settings.turnRad, -3.14159265358979);
  // z0 = 1 + i and c = 0.5 - i, from the start value or the Julia constant: z3 = 0.5625 - i.
  const PointResult want{3, false, 1.31640625, 0x1.23284p+2};
  expectResult(iteratePixel(300, 150, prepared(kMandelbrot, 1, 0.5, 0, 0, {1, 1}), 0), want,
               "mandelbrot");
  expectResult(iteratePixel(100, 250, prepared(kJulia, 1, 0, 0, 0, {0.5, -1}), 0), want, "julia");
}

TEST(Iteration, OrbitsWorkedByHand) {
  const auto orbit = [](const char* name, std::int16_t formula, Complex z0, Complex c,
                        std::int16_t depth, std::int16_t escape, PointResult want) {
    const PointSetup s = preparePointSetup({.iterDepth = depth, .escapeValue = escape});
    expectResult(formula == kHole ? iterateHole(c, s) : iterateQuadratic(z0, c, s, 0), want, name);
  };
  orbit("insideTakesDepthPlusOneSteps", kMandelbrot, {}, {-0.5, 0}, 3, 4,
        {3, true, 0x1.88p-3, 0x1.861p-4});
  orbit("escapeOnLastStepCountsInside", kMandelbrot, {}, {2, 0}, 1, 4, {1, true, 4, 36});
  orbit("exactlyFourStays", kMandelbrot, {}, {2, 0}, 64, 4, {1, false, 4, 36});
  // Just above the escape value, q escapes only when its 32-bit float is above it too.
  orbit("aboveFourFloatTiesDown", kMandelbrot, {}, {2, 0x1p-11}, 64, 4,
        {1, false, 0x1.000001p+2, 0x1.200001a000008p+5});
  orbit("aboveFourFloatRoundsUp", kMandelbrot, {}, {2, 0x1p-11 + 0x1p-40}, 64, 4,
        {0, false, 0, 0x1.0000010000001p+2});
  orbit("aboveSixteenFloatTiesDown", kMandelbrot, {}, {4, 0x1p-10}, 64, 16,
        {1, false, 0x1.000001p+4, 0x1.900002900001p+8});
  orbit("aboveSixteenFloatRoundsUp", kMandelbrot, {}, {4, 0x1p-10 + 0x1p-38}, 64, 16,
        {0, false, 0, 0x1.0000010000002p+4});
  // Orbits that leave the finite range escape at once, inf - inf included.
  orbit("overflow", kMandelbrot, {1e200, 0}, {}, 64, 4, {0, false, kInf, kInf});
  orbit("notANumber", kMandelbrot, {1e200, 1e200}, {}, 64, 4, {0, false, kInf, kNaN});
  // Hole from z0 = 0.0625 + 0.0625i, where |sqrt z|^2 = |z|, against a 64th of the escape value.
  orbit("holeAboveFourSixtyFourths", kHole, {}, {}, 64, 4,
        {0, false, 0.0078125, 0x1.6a09e667f3bccp-4});
  orbit("holeAboveSixteenSixtyFourths", kHole, {}, {}, 64, 16,
        {1, false, 0x1.6a09e667f3bccp-4, 0x1.306fe0a31b71p-2});
  orbit("holeReachesDepth", kHole, {}, {}, 8, 100,
        {8, true, 0x1.f663279882c61p-1, 0x1.fb2bbf4c2262p-1});
  // z1 lies below the real axis: its root is the one with a non-negative imaginary part.
  orbit("holeRootInUpperHalf", kHole, {}, {0, -0.3}, 2, 100,
        {2, true, 0x1.4816cff1402a6p-2, 0x1.a95c49ecb3ac2p-3});
  // z1 on the positive real axis: the next root divides by zero.
  orbit("holeDivisionByZero", kHole, {}, {-0.1, -0x1.d203138f6c829p-4}, 64, 4,
        {1, false, 0x1.f3e014da361e9p-6, kNaN});
}

TEST(Iteration, JitterDrawsOneNumberPerStep) {
  // c = 1 has q = 1, 4, 25 at steps 0, 1, 2: with the range (0.5, 2.0) it escapes at step 1
  // exactly when that step's number r puts the threshold (0.5 + 1.5 r) * 4 below 4.
  const PointSetup setup = preparePointSetup({.jitterLow = 0.5f, .jitterHigh = 2.0f});
  int early = 0;
  for (std::uint64_t base = 0; base < 64; ++base) {
    const bool escapesAtStepOne = RandomSequence::at(base + 1) < 1.0 / 3;
    EXPECT_EQ(iterateQuadratic({}, {1, 0}, setup, base).n, escapesAtStepOne ? 1 : 2) << base;
    early += escapesAtStepOne;
  }
  EXPECT_TRUE(early > 0 && early < 64) << early;  // both outcomes occur
}

// The vectorised kernel tests q > bound in double: that must hold for exactly the q whose
// float is above the threshold, here around the bound, the threshold and the threshold's float.
TEST(Iteration, ThresholdBoundAgreesWithTheFloatComparison) {
  for (const double t :
       {0.0, 4.0, 100.0, 4 + 0x1p-22, std::nextafter(4.0, 5.0), std::nextafter(4.0, 3.0),
        0.9f * 4.0, (0.33f + 0.99999994 * (3.0f - 0.33f)) * 100, 0x1p-149, double{FLT_MAX}, 1e39,
        10.0 / 3, kInf}) {
    const double bound = floatThresholdBound(t);
    std::vector<double> probes{0.0, 1e-45, 1.0, 1e300, kInf};
    for (double up : {bound, t, double{static_cast<float>(t)}})
      for (double down = up, i = 0; i < 40;
           ++i, up = std::nextafter(up, kInf), down = std::nextafter(down, 0.0))
        probes.insert(probes.end(), {up, down});
    for (const double q : probes)
      EXPECT_EQ(q > bound, double{static_cast<float>(q)} > t) << q << " threshold " << t;
  }
}

}  // namespace
}  // namespace orvane
