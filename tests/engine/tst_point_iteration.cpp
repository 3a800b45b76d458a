// One point: the pixel mapping as the render pass prepares it, the quadratic and Hole
// iterations at the depth and at the escape threshold (compared as a 32-bit float), the
// jittered threshold, and orbits that leave the finite range.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "load_routine.h"
#include "memory_surface.h"
#include "point_iteration.h"
#include "random_sequence.h"
#include "render_pass.h"

namespace orvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The point setup a pass would compute with: the pass runs its preparation and is closed at
// its first yield, before it draws anything.
PointSetup preparedSetup(ExplorerState& state, DialogValues& dialogs) {
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass* running = nullptr;
  RenderPass pass(state, dialogs, surface, [&] { running->close(); });
  running = &pass;
  pass.drawings();
  return preparePointSetup(capturePointSettings(state, dialogs, state.drawing));
}

TEST(Mapping, HomeViewEdges) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  const PointSetup setup = preparedSetup(state, dialogs);

  const Complex top = mapPixel(200, 0, setup);
  EXPECT_EQ(top.re, -2.0);
  EXPECT_EQ(top.im, 0.0);
  const Complex left = mapPixel(0, 150, setup);
  EXPECT_EQ(left.re, -0.5);
  EXPECT_EQ(left.im, 2.0);
  const Complex centre = mapPixel(200, 150, setup);
  EXPECT_EQ(centre.re, -0.5);
  EXPECT_EQ(centre.im, 0.0);
  // The real axis runs down the picture, the imaginary axis from right to left.
  EXPECT_EQ(mapPixel(200, 299, setup).re, -0.5 + 1.49);
  EXPECT_EQ(mapPixel(399, 150, setup).im, -1.99);
}

TEST(Mapping, MagnificationAndCentre) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  state.drawing = formula::kJulia;
  dialogs.position.numzoom = 4;
  dialogs.position.numx = 0.25;
  dialogs.position.numy = -1;
  const PointSetup setup = preparedSetup(state, dialogs);
  const Complex p = mapPixel(0, 0, setup);
  EXPECT_EQ(p.re, ((-150.0 * setup.cosTurn + -200.0 * setup.sinTurn) / 100) / 4 + 0.25);
  EXPECT_EQ(p.im, ((-150.0 * setup.sinTurn - -200.0 * setup.cosTurn) / 100) / 4 + -1);
  EXPECT_EQ(p.re, -0.125);
  EXPECT_EQ(p.im, -0.5);
}

TEST(Mapping, TurnRadiansFromWholeDegrees) {
  for (const std::int16_t ct : {0, 1, 30, 90, -45, 180, 32767, -32768}) {
    SCOPED_TRACE(ct);
    ExplorerState state;
    DialogValues dialogs;
    formLoad(state, dialogs);
    dialogs.position.ct = ct;
    preparedSetup(state, dialogs);
    EXPECT_EQ(state.viewTurn, ct);
    EXPECT_EQ(state.turnRad, static_cast<double>(-ct) / 180 * 3.14159265358979);
  }
}

TEST(Mapping, QuarterTurnRunsReRightToLeftAndImBottomToTop) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  state.drawing = formula::kJulia;
  dialogs.position.ct = 90;
  const PointSetup setup = preparedSetup(state, dialogs);

  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {200, 150}, {398, 298}}) {
    const Complex here = mapPixel(x, y, setup);
    const Complex right = mapPixel(x + 1, y, setup);
    const Complex below = mapPixel(x, y + 1, setup);
    EXPECT_LT(right.re, here.re);
    EXPECT_NEAR(right.im, here.im, 1e-12);
    EXPECT_LT(below.im, here.im);
    EXPECT_NEAR(below.re, here.re, 1e-12);
  }
  EXPECT_NEAR(mapPixel(399, 150, setup).re, -1.99, 1e-12);
  EXPECT_NEAR(mapPixel(200, 0, setup).im, 1.5, 1e-12);
}

PointSetup setupWith(std::int16_t depth, std::int16_t escape = 4, float low = 1, float high = 1) {
  PointSettings s;
  s.iterDepth = depth;
  s.escapeValue = escape;
  s.jitterLow = low;
  s.jitterHigh = high;
  return preparePointSetup(s);
}

TEST(Quadratic, InsidePointTakesDepthPlusOneSteps) {
  const PointResult r = iterateQuadratic({0, 0}, {0, 0}, setupWith(3), 0);
  EXPECT_EQ(r.n, 3);
  EXPECT_TRUE(r.reached);
  EXPECT_EQ(r.m, 0);
  EXPECT_EQ(r.q, 0);
}

TEST(Quadratic, EscapeOnTheLastStepStillCountsAsInside) {
  // z: 0 -> 2 (q = 4, not above 4) -> 6 at step 1, which is the depth.
  const PointResult r = iterateQuadratic({0, 0}, {2, 0}, setupWith(1), 0);
  EXPECT_EQ(r.n, 1);
  EXPECT_TRUE(r.reached);
  EXPECT_EQ(r.m, 4);
  EXPECT_EQ(r.q, 36);
}

struct ThresholdRow {
  const char* name;
  std::int16_t escape;
  Complex c;
  double firstQ;   // q after step 0, exactly
  int escapeStep;  // n of the result
};

class EscapeThreshold : public testing::TestWithParam<ThresholdRow> {};

// The escape test compares q as a 32-bit float: a q just above the escape value escapes only
// when its float is above it too.
TEST_P(EscapeThreshold, QComparedAsFloat) {
  const ThresholdRow& row = GetParam();
  const PointSetup setup = setupWith(64, row.escape);
  const PointResult first = iterateQuadratic({0, 0}, row.c, setupWith(0, row.escape), 0);
  EXPECT_EQ(first.q, row.firstQ);
  const PointResult r = iterateQuadratic({0, 0}, row.c, setup, 0);
  EXPECT_EQ(r.n, row.escapeStep);
  EXPECT_FALSE(r.reached);
  // Started at z0 = c instead, the point escapes at once and m is the squared modulus of z0.
  const PointResult shifted = iterateQuadratic(row.c, row.c, setup, 0);
  EXPECT_EQ(shifted.m, row.firstQ);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EscapeThreshold,
    testing::Values(
        ThresholdRow{"exactlyFour", 4, {2, 0}, 4, 1},
        ThresholdRow{"aboveFourFloatTiesDown", 4, {2, 0x1p-11}, 4 + 0x1p-22, 1},
        ThresholdRow{"aboveFourFloatRoundsUp", 4, {2, 0x1p-11 + 0x1p-40}, 4 + 0x1p-22 + 0x1p-50, 0},
        ThresholdRow{"aboveSixteenFloatTiesDown", 16, {4, 0x1p-10}, 16 + 0x1p-20, 1},
        ThresholdRow{
            "aboveSixteenFloatRoundsUp", 16, {4, 0x1p-10 + 0x1p-38}, 16 + 0x1p-20 + 0x1p-47, 0},
        ThresholdRow{"plainlyAbove", 4, {2.5, 0}, 6.25, 0}),
    [](const testing::TestParamInfo<ThresholdRow>& row) { return std::string(row.param.name); });

TEST(Quadratic, JitteredThresholdDrawsOneNumberPerStep) {
  // Range (0.5, 2.0): step 0 of c = 1.9 has q = 3.61, which escapes when the step's number
  // puts the threshold below it; step 1 (q about 30) escapes at any threshold.
  const PointSetup setup = setupWith(64, 4, 0.5f, 2.0f);
  int escapedFirst = 0;
  for (std::uint64_t base = 0; base < 64; ++base) {
    const double r = RandomSequence::at(base);
    const double threshold = (static_cast<double>(0.5f) + r * (2.0f - 0.5f)) * 4;
    const bool expectFirst = static_cast<double>(static_cast<float>(1.9 * 1.9)) > threshold;
    const PointResult result = iterateQuadratic({0, 0}, {1.9, 0}, setup, base);
    EXPECT_EQ(result.n, expectFirst ? 0 : 1) << "base " << base;
    escapedFirst += expectFirst;
  }
  EXPECT_GT(escapedFirst, 0);
  EXPECT_LT(escapedFirst, 64);
}

TEST(Quadratic, OrbitsLeavingTheFiniteRangeEscapeAtOnce) {
  const PointSetup setup = setupWith(64);
  const PointResult overflow = iterateQuadratic({1e200, 0}, {0, 0}, setup, 0);
  EXPECT_EQ(overflow.n, 0);
  EXPECT_FALSE(overflow.reached);
  EXPECT_EQ(overflow.q, kInf);
  // inf - inf: q is not a number, which must not read as "not above the threshold".
  const PointResult nan = iterateQuadratic({1e200, 1e200}, {0, 0}, setup, 0);
  EXPECT_EQ(nan.n, 0);
  EXPECT_FALSE(nan.reached);
  EXPECT_TRUE(std::isnan(nan.q));
}

TEST(Hole, StartValueAndOneStep) {
  // z0 = 0.0625 + 0.0625i, so m of step 0 is 0.0078125; z1 = sqrt(z0) + c.
  const Complex c{0.01, -0.02};
  const PointResult r = iterateHole(c, setupWith(0));
  EXPECT_EQ(r.n, 0);
  EXPECT_TRUE(r.reached);
  EXPECT_EQ(r.m, 0.0078125);
  const double s = std::sqrt((std::sqrt(0.0625 * 0.0625 + 0.0625 * 0.0625) - 0.0625) / 2);
  const double x = 0.0625 / 2 / s + c.re;
  const double y = s + c.im;
  EXPECT_EQ(r.q, y * y + x * x);
}

TEST(Hole, DivisionByZeroOnThePositiveRealAxisEscapes) {
  // Choose c so that z1 lies on the positive real axis inside the bound: step 1 then takes
  // the square root with s = 0 and divides by it.
  const double s0 = std::sqrt((std::sqrt(0.0625 * 0.0625 + 0.0625 * 0.0625) - 0.0625) / 2);
  const Complex c{-0.1, -s0};
  const PointResult r = iterateHole(c, setupWith(64));
  EXPECT_EQ(r.n, 1);
  EXPECT_FALSE(r.reached);
  EXPECT_TRUE(std::isfinite(r.m));
  EXPECT_LE(r.m, 0.0625);
  EXPECT_FALSE(std::isfinite(r.q));
}

TEST(Hole, EscapesAboveASixtyFourthOfTheEscapeValue) {
  // c = 0.25 gives |z1|^2 near 0.29: above 4 / 64, below 100 / 64.
  const Complex c{0.25, 0};
  EXPECT_EQ(iterateHole(c, setupWith(64, 4)).n, 0);
  EXPECT_GT(iterateHole(c, setupWith(64, 100)).n, 0);
}

struct BoundRow {
  const char* name;
  double threshold;
};

class ThresholdBound : public testing::TestWithParam<BoundRow> {};

// floatThresholdBound lets the vectorised kernel compare q in double: q > bound must hold for
// exactly the q whose float is above the threshold.
TEST_P(ThresholdBound, AgreesWithTheFloatComparison) {
  const double t = GetParam().threshold;
  const double bound = floatThresholdBound(t);
  std::vector<double> probes{0.0, 1e-45, 1.0, 4.0, 1e38, 1e300, kInf};
  for (double centre : {bound, t, static_cast<double>(static_cast<float>(t))}) {
    if (!std::isfinite(centre) || centre < 0) continue;
    double up = centre;
    double down = centre;
    for (int i = 0; i < 40; ++i) {
      probes.push_back(up = std::nextafter(up, kInf));
      if (down > 0) probes.push_back(down = std::nextafter(down, 0.0));
    }
    probes.push_back(centre);
  }
  for (const double q : probes) {
    const bool asFloat = static_cast<double>(static_cast<float>(q)) > t;
    EXPECT_EQ(q > bound, asFloat) << "q " << q << " threshold " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, ThresholdBound,
    testing::Values(BoundRow{"zero", 0}, BoundRow{"four", 4}, BoundRow{"sixteen", 16},
                    BoundRow{"hundred", 100}, BoundRow{"fourPlusHalfFloatUlp", 4 + 0x1p-22},
                    BoundRow{"justAboveFour", std::nextafter(4.0, 5.0)},
                    BoundRow{"justBelowFour", std::nextafter(4.0, 3.0)},
                    BoundRow{"jitterLowOfNarrowRange", static_cast<double>(0.9f) * 4},
                    BoundRow{"jitterMidOfNarrowRange", (0.9f + 0.3 * (1.11f - 0.9f)) * 4},
                    BoundRow{"jitterHighOfWideRange", (0.33f + 0.99999994 * (3.0f - 0.33f)) * 100},
                    BoundRow{"oddFloatMantissa", static_cast<double>(std::nextafter(4.0f, 5.0f))},
                    BoundRow{"subnormalFloat", 1e-40}, BoundRow{"smallestFloat", 0x1p-149},
                    BoundRow{"floatMax", FLT_MAX}, BoundRow{"aboveFloatMax", 1e39},
                    BoundRow{"thirdOfTen", 10.0 / 3}),
    [](const testing::TestParamInfo<BoundRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvane
