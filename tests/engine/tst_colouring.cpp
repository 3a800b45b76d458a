// The colouring: the fold of a channel value at its 32-bit edges, packing, and every formula's
// terms in each colour mode, against colours worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "engine/colouring.h"

namespace orvane {
namespace {

using namespace formula;
using namespace colour_mode;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FoldRow {
  const char* name;
  double x;
  std::optional<int> level;
};

// Halves go to the even integer; a value whose nearest integer is not 32-bit has no level.
TEST(Colouring, FoldLevel) {
  for (const FoldRow& row :
       {FoldRow{"zero", 0, 256}, FoldRow{"v256", 256, 0}, FoldRow{"v511", 511, 255},
        FoldRow{"v512", 512, 256}, FoldRow{"halfDownToEven", 384.5, 128},
        FoldRow{"halfUpToEven", 385.5, 130}, FoldRow{"minusHalfToZero", -0.5, 256},
        FoldRow{"minusOne", -1, 257}, FoldRow{"minus512", -512, 256},
        FoldRow{"int32Max", 2147483647, 255}, FoldRow{"evenHalfBelowMax", 2147483646.5, 254},
        FoldRow{"belowMaxHalf", std::nextafter(2147483647.5, 0.0), 255},
        FoldRow{"maxHalf", 2147483647.5, std::nullopt}, FoldRow{"int32Min", -2147483648.0, 256},
        FoldRow{"minHalfToEven", -2147483648.5, 256},
        FoldRow{"belowMinHalf", std::nextafter(-2147483648.5, -kInf), std::nullopt},
        FoldRow{"huge", 1e300, std::nullopt}, FoldRow{"infinity", kInf, std::nullopt},
        FoldRow{"notANumber", kNaN, std::nullopt}})
    EXPECT_EQ(foldLevel(row.x), row.level) << row.name;
}

// Depth 64 and escape value 4 throughout; magnification 8 with a pending zoom step of 2, so
// Z = 4, unless a row says otherwise.
struct Look {
  std::int16_t formula = 0, inner = 0, outer = 0, cr = 0, cg = 0, cb = 0, mode = kRgb;
  double zoom = 8;
};

// Ri 2, Ro 5 and offsets 10, 100, 30: every term of the formulas shows in the channels.
constexpr Look kM{kMandelbrot, 2, 5, 10, 100, 30}, kJ{kJulia, 2, 5, 10, 100, 30};
constexpr Look kH{kHole, 2, 5, 10, 100, 30}, kMinusZoom{kMandelbrot, 2, 5, 10, 100, 30, kRgb, -8};
constexpr auto grey = [](Look look) { return look.mode = kGrey, look; };
constexpr auto rgb = [](int r, int g, int b) { return packColour(r, g, b); };
constexpr auto level = [](int l) { return packColour(l, l, l); };

TEST(Colouring, EveryFormulaAndMode) {
  EXPECT_EQ(rgb(1, 2, 300), 0xFF0201u);  // red lowest; levels above 255 show as 255
  const auto colour = [](const char* name, Look l, PointResult point, Colour expected) {
    PointSettings s;
    s.formula = l.formula, s.viewZoom = l.zoom, s.zoomDivisor = 2, s.colorMode = l.mode;
    s.renderIn = l.inner, s.renderOut = l.outer, s.colr = l.cr, s.colg = l.cg, s.colb = l.cb;
    EXPECT_EQ(colourOf(prepareColourSetup(s, 64), point), expected) << name;
  };
  // Two colours: the parity of the escape count, white inside; levels and offsets play no part.
  colour("twoFirstStepBlack", {kHole, 0, 7, 300, -5, 0, kTwoColour}, {0, false, 0.3}, 0);
  colour("twoOddWhite", {kJulia, 3, 0, 0, 0, 0, kTwoColour}, {15, false, kNaN, kNaN}, kWhite);
  colour("twoInsideWhite", {kMandelbrot, 5, 5, 0, 0, 0, kTwoColour}, {64, true}, kWhite);
  // Ro = 0 or Ri = 0: the point's own values drop out.
  colour("greyOuterOff", {kMandelbrot, 2, 0, 0, 0, 0, kGrey}, {7, false, 3.9}, level(160));
  colour("greyInnerOff", {kHole, 0, 5, 0, 0, 0, kGrey}, {64, true}, level(224));
  colour("mandelbrotInnerOff", {kMandelbrot, 0, 5, 160, 64, 192}, {64, true}, rgb(96, 192, 64));
  colour("juliaInnerOffGreenAbove255", {kJulia, 0, 5}, {64, true}, rgb(240, 255, 160));
  colour("holeInnerIsRiTimesDepth", {kHole, 5, 5}, {64, true}, rgb(192, 64, 128));
  // t = sqrt(4) * 8.5 / 16 = 1.0625, k = 0.0625 * 200 * 64 * 2 = 1600.
  colour("mandelbrotInside", kM, {64, true, 0, 8.5}, rgb(54, 92, 98));
  colour("mandelbrotInsideGrey", grey(kM), {64, true, 0, 8.5}, level(32));
  // t = 64 * q / 4 = 1.25, k = 800 * 0.25 * 2 * 2 = 800.
  colour("juliaInside", kJ, {64, true, 0, 0.078125}, rgb(122, 68, 66));
  colour("juliaInsideGrey", grey(kJ), {64, true, 0, 0.078125}, level(128));
  colour("holeInsideGrey", grey(kH), {64, true}, level(160));  // k = 2 * 64
  // w = (0.15 - 0.15 * 2 / 4) * 25 + 10 = 11.875; Julia's green and blue take w * Ro.
  colour("mandelbrotOutside", kM, {10, false, 2}, rgb(149, 132, 113));
  colour("mandelbrotOutsideGrey", grey(kM), {10, false, 2}, level(142));
  colour("juliaOutside", kJ, {10, false, 2}, rgb(149, 69, 125));
  // h = (16 * 0.03 + 3) * 25 = 87.
  colour("holeOutside", kH, {3, false, 0.03}, rgb(57, 14, 97));
  colour("holeOutsideGrey", grey(kH), {3, false, 0.03}, level(68));
  // No 32-bit integer: coloured as escaped, with m = 0 where m itself is unusable.
  colour("negativeZoomInside", kMinusZoom, {64, true, 2, 5}, rgb(9, 86, 73));
  colour("juliaInsideInfiniteQ", kJ, {64, true, 2, kInf}, rgb(9, 229, 145));
  colour("overflowedM", grey(kM), {0, false, kInf, kInf}, level(61));
  colour("undefinedM", grey(kM), {3, false, kNaN, kNaN}, level(14));
  colour("holeHugeM", grey(kH), {2, false, 1e10}, level(105));
}

// A range of q is steady only where no q in it could change an inside colour: t = Z^(1/2) q / 16
// and k = 25600 f for kM, so the red level 3k + 10 moves by a unit for q about 1e-4 apart, and
// f wraps where t crosses an integer (q = 8); past 2^52 every t is an integer and f is 0.
TEST(Colouring, InsideColourSteady) {
  const auto steady = [](Look l, double qLow, double qHigh) {
    PointSettings s;
    s.formula = l.formula, s.viewZoom = l.zoom, s.zoomDivisor = 2, s.colorMode = l.mode;
    s.renderIn = l.inner, s.renderOut = l.outer, s.colr = l.cr, s.colg = l.cg, s.colb = l.cb;
    return insideColourSteady(prepareColourSetup(s, 64), qLow, qHigh);
  };
  Look huge = kM;
  huge.zoom = 1e40;
  EXPECT_TRUE(steady(kM, 8.5, 8.5));
  EXPECT_TRUE(steady(kM, 8.5, 8.5 + 1e-9));
  EXPECT_FALSE(steady(kM, 8.5, 8.6)) << "red moves by some 1200 levels";
  EXPECT_FALSE(steady(kM, 7.9999999, 8.0000001)) << "f wraps at t = 1";
  EXPECT_FALSE(steady(kM, 8.6, 8.5)) << "an empty range";
  EXPECT_TRUE(steady(huge, 1, 2));
  EXPECT_TRUE(steady(kH, 0, 100)) << "the Hole's inside ignores q";
  EXPECT_TRUE(steady({kMandelbrot, 2, 5, 0, 0, 0, kTwoColour}, 0, 100));
}

}  // namespace
}  // namespace orvane
