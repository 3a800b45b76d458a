// Posters: the window's view at other sizes, keeping its framing and its exactness.
#include <gtest/gtest.h>

#include <vector>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "engine/poster.h"

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
std::vector<Colour> poster(std::int16_t drawing, PosterSize size) {
  auto [state, dialogs] = loaded(drawing);
  std::vector<Colour> pixels;
  renderPoster(state, dialogs, size, {}, [&](int y, std::span<const Colour> row) {
    EXPECT_EQ(static_cast<std::size_t>(y) * row.size(), pixels.size());
    pixels.insert(pixels.end(), row.begin(), row.end());
  });
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

TEST(Poster, AFormulaNotDrawnLeavesItBlack) {
  EXPECT_EQ(poster(formula::kPendingJulia, {50, 7}), std::vector<Colour>(350, 0));
}

}  // namespace
}  // namespace orvane
