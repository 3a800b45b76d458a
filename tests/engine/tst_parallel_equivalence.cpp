// The vectorised and threaded computation draws exactly the picture of the plain scalar loop:
// every formula, colour mode, rotation and jitter range, and views whose orbits leave the
// finite range.
#include <gtest/gtest.h>

#include <cmath>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "load_routine.h"
#include "memory_surface.h"
#include "render_pass.h"

namespace orvane {
namespace {

using SetUp = std::function<void(ExplorerState&, DialogValues&)>;

std::vector<Colour> render(const SetUp& setUp, ComputeOptions options) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  setUp(state, dialogs);
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass pass(state, dialogs, surface, {}, options);
  pass.drawings();
  EXPECT_EQ(pass.statistics().pixels, 120000u);
  return surface.pixels();
}

constexpr ComputeOptions kPlain{.threads = 1, .vectorised = false};
constexpr ComputeOptions kPaths[] = {
    {.threads = 1, .vectorised = true},
    {.threads = 3, .vectorised = false},
    {.threads = 4, .vectorised = true},
};

void expectSamePictures(const SetUp& setUp) {
  const std::vector<Colour> plain = render(setUp, kPlain);
  for (const ComputeOptions& options : kPaths) {
    SCOPED_TRACE(testing::Message()
                 << "threads " << options.threads << " vectorised " << options.vectorised);
    const std::vector<Colour> other = render(setUp, options);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) differing += plain[i] != other[i];
    EXPECT_EQ(differing, 0u);
  }
}

struct Formula {
  const char* name;
  std::int16_t drawing;
  double zoom, x, y;
};

struct Jitter {
  const char* name;
  float low, high;
};

struct Look {
  const char* name;
  std::int16_t colourMode;
  std::int16_t rotation;
  std::int16_t depth;
  std::int16_t escape;
};

using Combination = std::tuple<Formula, Jitter, Look>;

class Paths : public testing::TestWithParam<Combination> {};

TEST_P(Paths, DrawTheSamePicture) {
  const auto& [formula, jitter, look] = GetParam();
  expectSamePictures([&](ExplorerState& state, DialogValues& dialogs) {
    state.drawing = formula.drawing;
    dialogs.position.numzoom = formula.zoom;
    dialogs.position.numx = formula.x;
    dialogs.position.numy = formula.y;
    dialogs.position.ct = look.rotation;
    if (formula.drawing == formula::kJulia) dialogs.dimension = {-0.8, 0.156, false};
    state.jitterLow = jitter.low;
    state.jitterHigh = jitter.high;
    state.colorMode = look.colourMode;
    state.iterDepth = look.depth;
    state.escapeValue = look.escape;
  });
}

INSTANTIATE_TEST_SUITE_P(
    Views, Paths,
    testing::Combine(testing::Values(Formula{"mandelbrot", formula::kMandelbrot, 1.5, -0.6, 0.1},
                                     Formula{"julia", formula::kJulia, 1.2, 0, 0},
                                     Formula{"hole", formula::kHole, 3, -0.05, 0.05}),
                     testing::Values(Jitter{"plain", 1, 1}, Jitter{"narrow", 0.9f, 1.11f},
                                     Jitter{"wide", 0.33f, 3.0f}),
                     testing::Values(Look{"rgbUpright", colour_mode::kRgb, 0, 64, 4},
                                     Look{"greyTurned30", colour_mode::kGrey, 30, 16, 16},
                                     Look{"twoColourQuarterTurn", colour_mode::kTwoColour, 90, 100,
                                          4},
                                     Look{"rgbTurnedBack45", colour_mode::kRgb, -45, 3, 100})),
    [](const testing::TestParamInfo<Combination>& row) {
      return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name + "_" +
             std::get<2>(row.param).name;
    });

struct HostileView {
  const char* name;
  SetUp setUp;
};

class Hostile : public testing::TestWithParam<HostileView> {};

// Orbits that overflow, divisions by zero and undefined square roots must neither stop the
// pass nor make the paths differ.
TEST_P(Hostile, DrawTheSamePicture) {
  expectSamePictures(GetParam().setUp);
}

INSTANTIATE_TEST_SUITE_P(Views, Hostile,
                         testing::Values(HostileView{"tinyZoomMandelbrot",
                                                     [](ExplorerState&, DialogValues& d) {
                                                       d.position.numzoom = 1e-300;
                                                     }},
                                         HostileView{"tinyZoomJulia",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       s.drawing = formula::kJulia;
                                                       d.position.numzoom = 1e-300;
                                                     }},
                                         HostileView{"tinyZoomHole",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       s.drawing = formula::kHole;
                                                       d.position.numzoom = 1e-300;
                                                     }},
                                         HostileView{"negativeZoom",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       d.position.numzoom = -2;
                                                       s.colorMode = colour_mode::kGrey;
                                                     }},
                                         HostileView{"negativeZoomJittered",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       d.position.numzoom = -0.5;
                                                       s.jitterLow = 0.5f;
                                                       s.jitterHigh = 2.0f;
                                                     }},
                                         HostileView{"hugeZoom",
                                                     [](ExplorerState&, DialogValues& d) {
                                                       d.position.numzoom = 1e300;
                                                       d.position.numx = -0.75;
                                                       d.position.numy = 0.1;
                                                     }},
                                         HostileView{"hugeStartValue",
                                                     [](ExplorerState&, DialogValues& d) {
                                                       d.dimension = {1e200, -1e200, false};
                                                     }},
                                         HostileView{"hugeJuliaConstant",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       s.drawing = formula::kJulia;
                                                       d.dimension = {1e200, 1e200, false};
                                                     }},
                                         HostileView{"holeOnTheRealAxis",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       s.drawing = formula::kHole;
                                                       s.escapeValue = 32767;
                                                       d.position.numzoom = 0.01;
                                                     }},
                                         HostileView{"infiniteJitterFactor",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       d.position.numx = 1.2;
                                                       s.iterDepth = 40;
                                                       s.jitterLow = 1.0f;
                                                       s.jitterHigh = INFINITY;
                                                     }},
                                         HostileView{"undefinedJitterFactor",
                                                     [](ExplorerState& s, DialogValues&) {
                                                       s.jitterLow = NAN;
                                                       s.jitterHigh = -INFINITY;
                                                     }},
                                         HostileView{"mostNegativeRotation",
                                                     [](ExplorerState& s, DialogValues& d) {
                                                       d.position.ct = -32768;
                                                       s.jitterLow = 0.75f;
                                                       s.jitterHigh = 1.33f;
                                                     }}),
                         [](const testing::TestParamInfo<HostileView>& row) {
                           return std::string(row.param.name);
                         });

}  // namespace
}  // namespace orvane
