// Posters: the window's view at other sizes, keeping its framing and its exactness.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "engine/poster.h"
#include "engine/supersample.h"

namespace orvane {
namespace {

// The state and dialogs after the load routine with `drawing` chosen; Julia is turned and zoomed.
std::pair<ExplorerState, DialogValues> loaded(std::int16_t drawing) {
  std::pair<ExplorerState, DialogValues> view;
  formLoad(view.first, view.second);
  view.first.drawing = drawing;
  if (drawing == formula::kJulia) view.second = {{1.3, 0, 0, 30, 1}, {-0.8, 0.156}, {5, 5, 5, 5}};
  return view;
}

// The poster's pixels, its rows checked to come once each and in order.
std::vector<Colour> poster(std::int16_t drawing, PosterSize size, int supersample = 1) {
  auto [state, dialogs] = loaded(drawing);
  std::vector<Colour> pixels;
  const auto sink = [&](int y, std::span<const Colour> row) {
    EXPECT_EQ(static_cast<std::size_t>(y) * row.size(), pixels.size());
    pixels.insert(pixels.end(), row.begin(), row.end());
  };
  renderPoster(state, dialogs, size, {}, sink, {}, {}, {.supersample = supersample});
  EXPECT_EQ(pixels.size(), static_cast<std::size_t>(size.width * size.height));
  return pixels;
}

TEST(Poster, FrameKeepsTheWindowsRegion) {
  EXPECT_EQ(posterFrame({1200, 500}).scale, 500.0 / 300);  // the wider side shows more
  EXPECT_EQ(posterFrame({401, 300}).centreX, 200.5);
}

// A poster k times the window's size puts the window's pixel (x, y) at (k x, k y) exactly.
TEST(Poster, WholeMultiplesRepeatTheWindowsPixels) {
  for (const auto& [k, drawing] : {std::pair{1, 0}, {2, 0}, {3, int{formula::kJulia}}}) {
    auto [state, dialogs] = loaded(static_cast<std::int16_t>(drawing));
    MemorySurface window(kPictureWidth, kPictureHeight);
    RenderPass(state, dialogs, window, {}).drawings();
    const std::vector<Colour> large =
        poster(static_cast<std::int16_t>(drawing), {400 * k, 300 * k});
    int differing = 0;
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x)
        differing += large[static_cast<std::size_t>(k * y * 400 * k + k * x)] != window.pixel(x, y);
    EXPECT_EQ(differing, 0) << "k " << k;
  }
}

TEST(Supersample, LightMixesAsLightAndAFlatColourStays) {
  LinearAverage mix(1);
  mix.add(std::vector<Colour>{0x000000});
  mix.add(std::vector<Colour>{0xFFFFFF});
  std::vector<Colour> out(1);
  mix.mean(out);
  EXPECT_EQ(out[0], 0xBCBCBCu);  // half the light of white is sRGB level 187.5 (0.7354 x 255)
  for (int n = 1; n <= kMaxSupersample; ++n) {
    std::vector<Colour> levels(256);
    for (int c = 0; c < 256; ++c) levels[static_cast<std::size_t>(c)] = packColour(c, 255 - c, c);
    LinearAverage flat(levels.size());
    for (int k = 0; k < n * n; ++k) flat.add(levels);
    std::vector<Colour> mean(levels.size());
    flat.mean(mean);
    EXPECT_EQ(mean, levels) << n << " x " << n;
  }
}

// With an odd n the samples of pixel (x, y) are the pixels about (n x, n y) of a poster n
// times larger, up to the rounding of their positions.
TEST(Supersample, SamplesLieOnTheGridAboutThePixel) {
  constexpr int n = 3;
  constexpr PosterSize size{40, 30};
  const std::vector<Colour> fine = poster(formula::kJulia, {n * size.width, n * size.height});
  const std::vector<Colour> drawn = poster(formula::kJulia, size, n);
  std::vector<Colour> expected(drawn.size());
  LinearAverage samples(drawn.size());
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      std::vector<Colour> shifted(drawn.size());
      for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
          const int fx = std::clamp(n * x + i, 0, n * size.width - 1);  // edges: see below
          const int fy = std::clamp(n * y + j, 0, n * size.height - 1);
          shifted[static_cast<std::size_t>(y * size.width + x)] =
              fine[static_cast<std::size_t>(fy * n * size.width + fx)];
        }
      }
      samples.add(shifted);
    }
  }
  samples.mean(expected);
  int differing = 0;  // inside the edges, whose samples the larger poster lacks
  for (int y = 1; y + 1 < size.height; ++y)
    for (int x = 1; x + 1 < size.width; ++x)
      differing += drawn[static_cast<std::size_t>(y * size.width + x)] !=
                   expected[static_cast<std::size_t>(y * size.width + x)];
  EXPECT_LE(differing, 4);
}

TEST(Poster, AFormulaNotDrawnLeavesItBlack) {
  EXPECT_EQ(poster(formula::kPendingJulia, {50, 7}), std::vector<Colour>(350, 0));
}

}  // namespace
}  // namespace orvane
