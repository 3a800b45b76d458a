// --verify: a sample of a drawn picture's pixels, iterated again directly in MPFR and compared
// colour for colour with what was drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "deep/deep_view.h"
#include "engine/point_computer.h"
#include "engine/poster.h"

namespace orvane {

inline constexpr int kMaxVerifiedPixels = 1000000;

// Below this share of identical pixels the run warns.
inline constexpr double kVerifiedWarningShare = 0.99;

struct Verification {
  std::size_t identical = 0;
  std::size_t checked = 0;
};

// The pixels to check, spread over a picture: the pixels in row order cut into `count` runs of
// equal length (at most one pixel each), and one pixel of each run, drawn from a sequence
// seeded by the view text, so the same view checks the same pixels. Their drawn colours are
// taken as the rows pass, without holding the picture.
class PixelSample {
 public:
  PixelSample(PosterSize size, int count, const std::string& view);

  // Keeps the drawn colours of the sample's pixels in row y.
  void take(int y, std::span<const Colour> row);

  PosterSize size() const { return size_; }
  std::span<const Pixel> pixels() const { return pixels_; }
  std::span<const Colour> drawn() const { return drawn_; }

 private:
  PosterSize size_;
  std::vector<Pixel> pixels_;  // in row order
  std::vector<Colour> drawn_;
};

// What the direct iteration of a picture's pixels needs of the pass that drew it.
struct DrawnPass {
  PointSetup setup;                         // the frame the pixels were drawn in included
  std::optional<deep::DeepView> view;       // the view, read as deep mode reads it
  std::uint64_t randomStart = 0;            // the random position of the first pixel drawn
  std::vector<std::uint32_t> drawingOrder;  // each pixel's place in the order drawn, row by
                                            // row; empty for row order
};

// The sample a picture is checked with, and the pass that drew it.
struct PixelCheck {
  PixelSample sample;
  DrawnPass pass;
};

// Iterates the sample's pixels directly in MPFR at twice the view's bits, each at the exact
// point of the view it stands for, with the picture's jitter draws and colouring, and counts
// the colours equal to the drawn ones.
Verification verifyPixels(const PixelCheck& check, ComputeOptions options);

}  // namespace orvane
