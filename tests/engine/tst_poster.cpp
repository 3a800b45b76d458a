// Posters: the window's view at other sizes, keeping its framing and its exactness.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "load_routine.h"
#include "memory_surface.h"
#include "poster.h"

namespace orvane {
namespace {

struct Picture {
  PosterSize size;
  std::vector<Colour> pixels;
  Colour at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
                  static_cast<std::size_t>(x)];
  }
};

using ViewSetting = void (*)(ExplorerState&, DialogValues&);

Picture poster(ViewSetting setting, PosterSize size, ComputeOptions options = {}) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  setting(state, dialogs);
  Picture picture{size, {}};
  int nextRow = 0;
  double lastProgress = 0;
  renderPoster(
      state, dialogs, size, options,
      [&](int y, std::span<const Colour> row) {
        EXPECT_EQ(y, nextRow++);  // every row once, in order
        EXPECT_EQ(row.size(), static_cast<std::size_t>(size.width));
        picture.pixels.insert(picture.pixels.end(), row.begin(), row.end());
      },
      [&](double done) { lastProgress = done; });
  EXPECT_EQ(nextRow, size.height);
  EXPECT_EQ(lastProgress, 1.0);
  return picture;
}

Picture windowPicture(ViewSetting setting) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  setting(state, dialogs);
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass pass(state, dialogs, surface, {});
  pass.drawings();
  return {{kPictureWidth, kPictureHeight}, surface.pixels()};
}

void home(ExplorerState&, DialogValues&) {}

void turnedJulia(ExplorerState& s, DialogValues& d) {
  s.drawing = formula::kJulia;
  d.dimension.numDx = -0.8;
  d.dimension.numDy = 0.156;
  d.position.numzoom = 1.3;
  d.position.ct = 30;
}

void jitteredHome(ExplorerState& s, DialogValues&) {
  s.jitterLow = 0.5f;
  s.jitterHigh = 2.0f;
}

TEST(Poster, FrameKeepsTheWindowsRegion) {
  const PictureFrame same = posterFrame({400, 300});
  EXPECT_EQ(same.centreX, 200);
  EXPECT_EQ(same.centreY, 150);
  EXPECT_EQ(same.scale, 1);
  EXPECT_EQ(posterFrame({1600, 1200}).scale, 4);
  EXPECT_EQ(posterFrame({1200, 500}).scale, 500.0 / 300);  // the wider side shows more
  EXPECT_EQ(posterFrame({401, 300}).centreX, 200.5);
}

// A poster n times as large lands its pixel (n x, n y) exactly on the window's pixel (x, y).
TEST(Poster, WholeMultiplesRepeatTheWindowsPixels) {
  for (const auto& [setting, scale] :
       {std::pair<ViewSetting, int>{home, 1}, {home, 2}, {turnedJulia, 3}}) {
    const Picture window = windowPicture(setting);
    const Picture large = poster(setting, {400 * scale, 300 * scale});
    int differing = 0;
    for (int y = 0; y < kPictureHeight; ++y)
      for (int x = 0; x < kPictureWidth; ++x)
        differing += large.at(scale * x, scale * y) != window.at(x, y);
    EXPECT_EQ(differing, 0) << "scale " << scale;
  }
}

TEST(Poster, EveryKernelAndThreadCountDrawsTheSamePoster) {
  for (ViewSetting setting : {turnedJulia, jitteredHome}) {
    const Picture plain = poster(setting, {640, 481}, {.threads = 1, .vectorised = false});
    EXPECT_EQ(poster(setting, {640, 481}, {.threads = 2, .vectorised = true}).pixels, plain.pixels);
  }
}

TEST(Poster, AFormulaNotDrawnLeavesItBlack) {
  const Picture pending =
      poster([](ExplorerState& s, DialogValues&) { s.drawing = formula::kPendingJulia; }, {50, 7});
  EXPECT_EQ(pending.pixels, std::vector<Colour>(50 * 7, Colour{0}));
}

}  // namespace
}  // namespace orvane
