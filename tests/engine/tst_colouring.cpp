// The colouring: the fold of a channel value, packing, the three colour modes of each formula
// against a plain evaluation of their formulas, and the colour of points whose channel values
// have no integer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "colouring.h"

namespace orvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Parameterised rows are named after their `name` field.
struct RowName {
  template <class Row>
  std::string operator()(const testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

struct FoldRow {
  const char* name;
  double x;
  std::optional<int> level;
};

class FoldLevel : public testing::TestWithParam<FoldRow> {};

TEST_P(FoldLevel, MatchesTable) {
  EXPECT_EQ(foldLevel(GetParam().x), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FoldLevel,
    testing::Values(
        FoldRow{"zero", 0, 256}, FoldRow{"v256", 256, 0}, FoldRow{"v511", 511, 255},
        FoldRow{"v512", 512, 256}, FoldRow{"v767", 767, 1}, FoldRow{"v1023", 1023, 255},
        FoldRow{"halfDownToEven", 384.5, 128}, FoldRow{"halfUpToEven", 385.5, 130},
        FoldRow{"halfToZero", 0.5, 256}, FoldRow{"negativeHalfToZero", -0.5, 256},
        FoldRow{"justBelowHalf", 0.49999999999999994, 256}, FoldRow{"minusOne", -1, 257},
        FoldRow{"minus511", -511, 767}, FoldRow{"minus512", -512, 256},
        FoldRow{"int32Max", 2147483647, 255},
        FoldRow{"justBelowInt32MaxHalf", std::nextafter(2147483647.5, 0.0), 255},
        FoldRow{"int32MaxHalfRoundsOut", 2147483647.5, std::nullopt},
        FoldRow{"twoToThe31", 2147483648.0, std::nullopt},
        FoldRow{"evenHalfBelowMax", 2147483646.5, 254}, FoldRow{"int32Min", -2147483648.0, 256},
        FoldRow{"int32MinHalfRoundsToEven", -2147483648.5, 256},
        FoldRow{"justBelowInt32MinHalf", std::nextafter(-2147483648.5, -kInf), std::nullopt},
        FoldRow{"belowInt32Min", -2147483649.0, std::nullopt}, FoldRow{"huge", 1e300, std::nullopt},
        FoldRow{"infinity", kInf, std::nullopt}, FoldRow{"minusInfinity", -kInf, std::nullopt},
        FoldRow{"notANumber", kNaN, std::nullopt}),
    RowName());

TEST(PackColour, RedLowestAndLevelsAbove255CountAs255) {
  EXPECT_EQ(packColour(1, 2, 3), 0x030201u);
  EXPECT_EQ(packColour(256, 767, 255), 0xFFFFFFu);
  EXPECT_EQ(packColour(0, 300, 0), 0x00FF00u);
  EXPECT_EQ(redOf(0x030201u), 1);
  EXPECT_EQ(greenOf(0x030201u), 2);
  EXPECT_EQ(blueOf(0x030201u), 3);
}

// Settings with every field the colouring reads; the rest keep their defaults.
struct Look {
  std::int16_t formula = formula::kMandelbrot;
  std::int16_t mode = colour_mode::kRgb;
  std::int16_t depth = 64;
  std::int16_t escape = 4;
  double zoom = 1;
  double zoomDivisor = 1;
  std::int16_t inner = 5;
  std::int16_t outer = 5;
  std::int16_t cr = 0, cg = 0, cb = 0;
};

ColourSetup setupFor(const Look& look) {
  PointSettings s;
  s.formula = look.formula;
  s.colorMode = look.mode;
  s.iterDepth = look.depth;
  s.escapeValue = look.escape;
  s.viewZoom = look.zoom;
  s.zoomDivisor = look.zoomDivisor;
  s.renderIn = look.inner;
  s.renderOut = look.outer;
  s.colr = look.cr;
  s.colg = look.cg;
  s.colb = look.cb;
  return prepareColourSetup(s, look.depth);
}

PointResult inside(const Look& look, double m, double q) {
  return {look.depth, true, m, q};
}
PointResult outside(int n, double m, double q = 5) {
  return {n, false, m, q};
}

Colour rgb(int r, int g, int b) {
  return packColour(r, g, b);
}
Colour grey(int level) {
  return packColour(level, level, level);
}

TEST(TwoColour, ParityOfTheEscapeCountAndWhiteInside) {
  for (const std::int16_t f : {formula::kMandelbrot, formula::kJulia, formula::kHole}) {
    SCOPED_TRACE(f);
    // Levels and offsets play no part in this mode.
    const ColourSetup s = setupFor({.formula = f,
                                    .mode = colour_mode::kTwoColour,
                                    .depth = 16,
                                    .inner = 0,
                                    .outer = 7,
                                    .cr = 100,
                                    .cg = -5,
                                    .cb = 300});
    EXPECT_EQ(colourOf(s, outside(0, 0.3)), 0x000000u);
    EXPECT_EQ(colourOf(s, outside(1, 0.3)), 0xFFFFFFu);
    EXPECT_EQ(colourOf(s, outside(2, 1e300)), 0x000000u);
    EXPECT_EQ(colourOf(s, outside(15, kNaN, kNaN)), 0xFFFFFFu);
    EXPECT_EQ(colourOf(s, {16, true, 0.1, 0.2}), 0xFFFFFFu);  // inside, even count
  }
}

TEST(FlatLevels, OneColourForEveryOutsideOrInsidePoint) {
  for (const std::int16_t f : {formula::kMandelbrot, formula::kJulia, formula::kHole}) {
    SCOPED_TRACE(f);
    const ColourSetup outerOff = setupFor({.formula = f, .mode = colour_mode::kGrey, .outer = 0});
    for (const PointResult& p : {outside(0, 0.0), outside(7, 3.9), outside(63, 0.01)})
      EXPECT_EQ(colourOf(outerOff, p), grey(160));  // foldLevel(96)
    const ColourSetup innerOff = setupFor({.formula = f, .mode = colour_mode::kGrey, .inner = 0});
    for (const double q : {0.0, 0.37, 3.99})
      EXPECT_EQ(colourOf(innerOff, inside({}, 0.2, q)), grey(224));  // foldLevel(32)
  }
}

TEST(FlatLevels, InsideColoursOfTheFormulasWithTheirOffsets) {
  const Look mandelbrot{.inner = 0, .cr = 160, .cg = 64, .cb = 192};
  EXPECT_EQ(colourOf(setupFor(mandelbrot), inside(mandelbrot, 1, 2.5)), rgb(96, 192, 64));
  // Green of Julia starts at -64, which folds to 320 and shows as 255.
  const Look julia{.formula = formula::kJulia, .inner = 0};
  EXPECT_EQ(colourOf(setupFor(julia), inside(julia, 1, 2.5)), rgb(240, 255, 160));
  // Hole: k = Ri * D = 320 for every inside point.
  const Look hole{.formula = formula::kHole, .depth = 64, .inner = 5};
  EXPECT_EQ(colourOf(setupFor(hole), inside(hole, 0.01, 0.02)), rgb(192, 64, 128));
  EXPECT_EQ(colourOf(setupFor(hole), inside(hole, 0.05, 0.03)), rgb(192, 64, 128));
}

// The channel values as the formulas are written, term by term from the left.
struct Channels {
  double red, green, blue;
};

// The inside term k of each formula.
double insideK(const Look& l, const PointResult& p) {
  if (l.formula == formula::kHole) return l.inner * l.depth;
  if (l.formula == formula::kJulia) {
    const double t = static_cast<double>(l.depth) * p.q / l.escape;
    const double f = t - std::floor(t);
    return 800 * f * l.inner * l.inner;
  }
  const double escape = l.escape;
  const double t = std::sqrt(l.zoom / l.zoomDivisor) * p.q / escape / escape;
  const double f = t - std::floor(t);
  return f * 200 * l.depth * l.inner;
}

// w of Mandelbrot and Julia, h of the Hole.
double outsideTerm(const Look& l, const PointResult& p) {
  const int ro = l.outer;
  if (l.formula == formula::kHole) return (16 * p.m + p.n) * (ro * ro);
  return (0.15 - 0.15 * p.m / l.escape) * ro * ro + p.n;
}

Channels formulaChannels(const Look& l, const PointResult& p) {
  const int ro = l.outer;
  const int ro2 = ro * ro;
  const int twiceRo = 2 * ro;
  const int thriceRo = 3 * ro;
  if (p.reached) {
    const double k = insideK(l, p);
    if (l.formula == formula::kJulia) return {3 * k + l.cr + 16, k + l.cg - 64, 2 * k + l.cb + 96};
    return {3 * k + l.cr, k + l.cg, 2 * k + l.cb};
  }
  if (l.formula == formula::kHole) {
    const double h = outsideTerm(l, p);
    return {2 * h + thriceRo + l.cr, 3 * h + ro + l.cg - 96, h + twiceRo + l.cb + 32};
  }
  const double w = outsideTerm(l, p);
  // Julia's green and blue take w * Ro, not w * Ro^2.
  if (l.formula == formula::kJulia)
    return {2 * w * ro2 + thriceRo + l.cr, 3 * w * ro + ro + l.cg - 96,
            w * ro + twiceRo + l.cb + 32};
  return {2 * w * ro2 + thriceRo + l.cr, 3 * w * ro2 + ro + l.cg - 96,
          w * ro2 + twiceRo + l.cb + 32};
}

double greyChannel(const Look& l, const PointResult& p) {
  const int ro = l.outer;
  if (p.reached) return 3 * insideK(l, p) + 32;
  if (l.formula == formula::kHole) return outsideTerm(l, p) + ro + 96;
  return outsideTerm(l, p) * (ro * ro) + ro + 96;
}

struct FormulaRow {
  const char* name;
  Look look;
  PointResult point;
};

class FormulaColours : public testing::TestWithParam<FormulaRow> {};

TEST_P(FormulaColours, RgbAndGreyFollowTheWrittenFormulas) {
  Look look = GetParam().look;
  const PointResult& p = GetParam().point;
  const Channels x = formulaChannels(look, p);
  const Colour expected = packColour(*foldLevel(x.red), *foldLevel(x.green), *foldLevel(x.blue));
  EXPECT_EQ(colourOf(setupFor(look), p), expected);

  look.mode = colour_mode::kGrey;
  EXPECT_EQ(colourOf(setupFor(look), p), grey(*foldLevel(greyChannel(look, p))));
}

constexpr Look kMandelbrot{
    .depth = 256, .escape = 4, .zoom = 7.5, .inner = 3, .outer = 7, .cr = 11, .cg = -40, .cb = 300};
constexpr Look kJulia{.formula = formula::kJulia,
                      .depth = 128,
                      .escape = 16,
                      .inner = 4,
                      .outer = 9,
                      .cr = 160,
                      .cg = 64,
                      .cb = 192};
constexpr Look kHole{.formula = formula::kHole,
                     .depth = 1024,
                     .escape = 100,
                     .inner = 10,
                     .outer = 3,
                     .cr = -7,
                     .cg = 255,
                     .cb = 0};
constexpr Look kZoomStepPending{.zoom = 9, .zoomDivisor = 4, .inner = 6};

INSTANTIATE_TEST_SUITE_P(
    Points, FormulaColours,
    testing::Values(FormulaRow{"mandelbrotOutside", kMandelbrot, outside(12, 1.7321)},
                    FormulaRow{"mandelbrotOutsideFirstStep", kMandelbrot, outside(0, 3.999)},
                    FormulaRow{"mandelbrotOutsideFarAway", kMandelbrot, outside(3, 1234.5)},
                    FormulaRow{"mandelbrotInside", kMandelbrot, {256, true, 0.3, 0.271828}},
                    FormulaRow{"mandelbrotInsideNearBound", kMandelbrot, {256, true, 3.1, 3.99997}},
                    FormulaRow{
                        "mandelbrotPendingZoomStep", kZoomStepPending, {64, true, 0.3, 1.4142}},
                    FormulaRow{"juliaOutside", kJulia, outside(40, 2.2)},
                    FormulaRow{"juliaOutsideWideOrbit", kJulia, outside(1, 15.75)},
                    FormulaRow{"juliaInside", kJulia, {128, true, 0.9, 0.123456789}},
                    FormulaRow{"holeOutside", kHole, outside(5, 1.39)},
                    FormulaRow{"holeOutsideTiny", kHole, outside(200, 0.0078125)},
                    FormulaRow{"holeInside", kHole, {1024, true, 0.5, 0.6}}),
    RowName());

// Points whose channel values are not finite or have no 32-bit integer are coloured as
// escaped points, with m = 0 where m itself is unusable.
TEST(UndefinedValues, ColouredAsEscapedPoints) {
  // A negative magnification: the square root of Z is not a number.
  const Look negativeZoom{.zoom = -4};
  const ColourSetup nz = setupFor(negativeZoom);
  EXPECT_EQ(colourOf(nz, {64, true, 0.5, 0.7}), colourOf(nz, outside(64, 0.5, 0.7)));

  // An orbit that overflowed on its first step.
  const ColourSetup m = setupFor({});
  EXPECT_EQ(colourOf(m, outside(0, kInf, kInf)), colourOf(m, outside(0, 0.0, kInf)));
  EXPECT_EQ(colourOf(m, outside(3, kNaN, kNaN)), colourOf(m, outside(3, 0.0, kNaN)));

  // A Julia inside point whose last q overflowed: its fraction is not a number.
  const ColourSetup j = setupFor({.formula = formula::kJulia});
  EXPECT_EQ(colourOf(j, {64, true, 2.0, kInf}), colourOf(j, outside(64, 2.0)));

  // Finite but far beyond 32 bits: a Hole point that escaped from a huge value.
  const ColourSetup h = setupFor({.formula = formula::kHole, .mode = colour_mode::kGrey});
  EXPECT_EQ(colourOf(h, outside(2, 1e10)), colourOf(h, outside(2, 0.0)));
  EXPECT_EQ(colourOf(h, outside(2, kNaN)), colourOf(h, outside(2, 0.0)));
}

}  // namespace
}  // namespace orvane
