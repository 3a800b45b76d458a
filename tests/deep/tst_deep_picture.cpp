// Deep pictures as orvane-render draws them, against the same poster with every pixel iterated
// directly in MPFR: at least 99 % of the colours must be equal, in every colour mode. Also
// what the renderer counts and checks of a picture.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "deep/deep_view.h"
#include "deep_views.h"
#include "direct_iteration.h"
#include "render/render_picture.h"
#include "view_numbers.h"

namespace orvane::deep {
namespace {

struct PictureCase {
  const char* name;
  RenderRequest request;
  std::size_t orbitSize = 0;  // when not 0, the size the orbit of 0 must end at
};

std::vector<Colour> rowsOf(const PosterSize& size, const auto& draw) {
  std::vector<Colour> picture(static_cast<std::size_t>(size.width) * size.height);
  draw([&](int y, std::span<const Colour> row) {
    std::copy(row.begin(), row.end(), picture.begin() + std::ptrdiff_t{y} * size.width);
  });
  return picture;
}

// Drawn with the renderer's own check of 50 pixels, which must find at least 49 identical;
// the critical orbit has `orbitSize` values when that is given.
std::vector<Colour> deepPicture(RenderRequest request, std::size_t orbitSize) {
  request.verify = 50;
  return rowsOf(request.view.size, [&](const PosterRowSink& sink) {
    ReferenceReuse reuse;
    const RenderedPicture picture = renderPicture(request, {}, sink, {}, {}, &reuse);
    EXPECT_TRUE(picture.choice.deep) << picture.choice.reason;
    ASSERT_TRUE(picture.check);
    const Verification verification = verifyPixels(*picture.check, {});
    EXPECT_EQ(verification.checked, 50u);
    EXPECT_GE(verification.identical, 49u);
    if (orbitSize) {
      EXPECT_EQ(reuse.reference->critical().size(), orbitSize);
    }
  });
}

// The poster's own colouring and jitter draws, with each pixel's iteration done in MPFR at
// twice the bits the deep view reads its numbers with.
std::vector<Colour> directPicture(const RenderRequest& request) {
  const auto& [x, y] = *request.view.centre;
  const std::optional<DeepView> reading = readDeepView(x, y, request.view.zoom);
  const testing::DirectView view{x.text().c_str(), y.text().c_str(),
                                 request.view.zoom.text().c_str(), 2 * reading->precisionBits};
  const PosterKernel direct = [&view](const PointSetup&) -> ShareKernel {
    return [&view](PointWork& work) {
      return computeEach(work, [&](Pixel p, std::uint64_t randomBase) {
        return testing::iterateDirect(view, p.x, p.y, work.setup, randomBase);
      });
    };
  };
  return rowsOf(request.view.size, [&](const PosterRowSink& sink) {
    ExplorerState state;
    DialogValues dialogs;
    applyViewRequest(request.view, state, dialogs);
    renderPoster(state, dialogs, request.view.size, {}, sink, {}, direct);
  });
}

class DeepPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(DeepPicture, EqualsTheDirectIteration) {
  const RenderRequest& request = GetParam().request;
  const std::vector<Colour> deep = deepPicture(request, GetParam().orbitSize);
  const std::vector<Colour> direct = directPicture(request);
  std::size_t same = 0;
  std::set<std::uint32_t> colours;
  for (std::size_t i = 0; i < deep.size(); ++i) {
    same += deep[i] == direct[i];
    colours.insert(direct[i]);
  }
  EXPECT_GE(colours.size(), 2u) << "a flat picture proves nothing";
  EXPECT_GE(double(same) / double(deep.size()), 0.99);
}

RenderRequest view(std::string x, std::string y, std::string zoom, std::int16_t depth,
                   PosterSize size) {
  RenderRequest r;
  r.view.centre = {testing::number(x), testing::number(y)};
  r.view.zoom = testing::number(zoom);
  r.view.depth = depth;
  r.view.size = size;
  return r;
}

RenderRequest with(RenderRequest r, std::int16_t colourMode, std::int16_t rotation) {
  r.view.colourMode = colourMode;
  r.view.rotation = rotation;
  return r;
}

// The centre of a Julia view c = i a fifth of a pixel beside the critical point's preimage
// -sqrt(-i) = (1 - i) / -sqrt 2, so the reference's next value is c plus a square far below a
// pixel; its 300 digits are far more than the view needs.
RenderRequest juliaNearAPreimage() {
  MpfrNumber root(1000);
  mpfr_sqrt_ui(root.get(), 2, MPFR_RNDN);
  mpfr_ui_div(root.get(), 1, root.get(), MPFR_RNDN);
  const std::string y = "-" + testing::decimal(root.get());
  mpfr_add_d(root.get(), root.get(), 3e-102, MPFR_RNDN);
  RenderRequest r = view(testing::decimal(root.get()), y, "1e100", 1500, {24, 18});
  r.view.drawing = formula::kJulia;
  r.view.components = {testing::number("0"), testing::number("1")};
  r.view.jitter = {1, 1.5f};
  return with(r, colour_mode::kGrey, 11);
}

// A point where the Hole's escape count changes, found by halving a segment whose ends
// escape at different steps until it is far below the view's pixels.
std::string holeBoundaryX(const char* y, double xInside, double xOutside, int halvings) {
  PointSetup setup = preparePointSetup({.formula = formula::kHole, .iterDepth = 200});
  auto escapeOf = [&](mpfr_srcptr x) {
    testing::DirectPoint c{MpfrNumber(400), MpfrNumber(400)};
    mpfr_set(c.re.get(), x, MPFR_RNDN);
    mpfr_set_str(c.im.get(), y, 10, MPFR_RNDN);
    return testing::iterateHoleDirect(c, setup).n;
  };
  MpfrNumber low(400), high(400), middle(400);
  mpfr_set_d(low.get(), xInside, MPFR_RNDN);
  mpfr_set_d(high.get(), xOutside, MPFR_RNDN);
  const int inside = escapeOf(low.get());
  for (int i = 0; i < halvings; ++i) {
    mpfr_add(middle.get(), low.get(), high.get(), MPFR_RNDN);
    mpfr_div_2ui(middle.get(), middle.get(), 1, MPFR_RNDN);
    mpfr_swap(escapeOf(middle.get()) == inside ? low.get() : high.get(), middle.get());
  }
  return testing::decimal(low.get());
}

RenderRequest holeAtTheEdge() {
  RenderRequest r =
      view(holeBoundaryX("-0.045", -0.2125, -0.05, 120), "-0.045", "1e30", 200, {40, 30});
  r.view.drawing = formula::kHole;
  return with(r, colour_mode::kRgb, -30);
}

const PictureCase kCases[] = {
    {"misiurewiczAt1e20", with(view("0", "1", "1e20", 300, {60, 45}), colour_mode::kTwoColour, 30)},
    {"minibrotAt1e100",
     // Off the real axis the reference escapes early, long before the minibrot's pixels. The
     // axis runs between two pixel columns: a column on it would be a filament, which a 53-bit
     // offset from the centre misses by 1e-16 pixel.
     with(view(testing::nucleusNearTip(85, 800, 1e-100), "5.5e-101", "1e100", 1000, {40, 30}),
          colour_mode::kRgb, 180)},
    {"minibrotNucleusAt1e239",
     // The period-200 minibrot of docs/deep-zoom.md at its nucleus: the orbit of 0 ends where
     // it first returns to 0, at Z_200. An odd height puts the axis between two pixel rows.
     with(view(testing::nucleusNearTip(200, 1100, 0), "0", "1e239", 3000, {24, 19}),
          colour_mode::kGrey, 90),
     201},
    {"misiurewiczAt1e300", with(view("0", "1", "1e300", 1000, {32, 24}), colour_mode::kGrey, -45)},
    {"pastTheDoublesAt1e1000",
     // Near i a pixel's distance from the point grows about 2.4 times a step: 2650 steps.
     with(view("0", "1", "1e1000", 3200, {24, 18}), colour_mode::kRgb, 7)},
    {"juliaNearAPreimageAt1e100", juliaNearAPreimage()},
    {"holeAt1e30", holeAtTheEdge()},
};

INSTANTIATE_TEST_SUITE_P(Views, DeepPicture, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Views where every pixel reaches the depth (within |c| < 1/4, inside the main cardioid) or
// none does (|c|^2 > 4 all over: each escapes at its first step), in double and deep mode.
// Inside, a deep pixel's first step from 0 and an approximation of the 199 after it are one
// step, and its last step is a single one; the centre pixel, the reference itself, takes its
// first step singly too.
struct CountCase {
  const char* name;
  RenderRequest request;
  bool inside;
  bool deep;
};

class PictureCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(PictureCounts, FollowFromTheView) {
  const CountCase& row = GetParam();
  const RenderedPicture picture = renderPicture(row.request, {}, [](int, auto) {});
  ASSERT_EQ(picture.choice.deep, row.deep);
  const PassStatistics& counts = picture.statistics;
  const std::uint64_t pixels = 40 * 30;
  const std::uint64_t steps = pixels * (row.inside ? 201 : 1);
  EXPECT_EQ(counts.pixels, pixels);
  EXPECT_EQ(counts.reached, row.inside ? pixels : 0);
  EXPECT_EQ(counts.iterations, steps);
  if (row.deep && row.inside) {
    EXPECT_EQ(counts.perturbed, pixels + 1);
    EXPECT_EQ(counts.approximate, pixels);
  } else {
    EXPECT_EQ(counts.taken(), steps);
    EXPECT_EQ(row.deep ? counts.perturbed : counts.direct, steps);
  }
}

const CountCase kCounts[] = {
    {"insideInDouble", view("-0.1", "0", "100", 200, {40, 30}), true, false},
    {"insideDeep", view("-0.1", "0", "1e20", 200, {40, 30}), true, true},
    {"outsideInDouble", view("10", "10", "1", 200, {40, 30}), false, false},
    {"outsideDeep", view("10", "10", "1e20", 200, {40, 30}), false, true},
};

INSTANTIATE_TEST_SUITE_P(Views, PictureCounts, ::testing::ValuesIn(kCounts),
                         [](const auto& row) { return std::string(row.param.name); });

// The check passes the window's own jittered picture, whose random draws follow its cell
// order, and finds a double picture drawn far past its precision, whose pixels share a few
// points between them.
Verification verifiedPicture(RenderRequest request, int pixels) {
  request.verify = pixels;
  const RenderedPicture picture = renderPicture(request, {}, [](int, auto) {});
  EXPECT_TRUE(picture.check);
  return picture.check ? verifyPixels(*picture.check, {}) : Verification{};
}

TEST(Verification, TellsExactPicturesFromInexactOnes) {
  RenderRequest window;
  window.view.drawing = formula::kJulia;
  window.view.components = {testing::number("-0.8"), testing::number("0.156")};
  window.view.jitter = {0.33f, 3.0f};
  window.view.gridChoice = 20;
  const Verification passed = verifiedPicture(window, 2000);
  EXPECT_EQ(passed.checked, 2000u);
  EXPECT_GE(passed.identical, 1980u);

  RenderRequest blocks = view("0", "1", "1e20", 300, {40, 30});
  blocks.view.precision = Precision::kDouble;
  const Verification failed = verifiedPicture(blocks, 100);
  EXPECT_EQ(failed.checked, 100u);
  EXPECT_LT(failed.identical, 50u);
}

}  // namespace
}  // namespace orvane::deep
