// Supersampling: each pixel the average of n x n samples on a regular grid within it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "engine/colour.h"
#include "engine/point_settings.h"

namespace orvane {

inline constexpr int kMaxSupersample = 8;

// The frame whose pixel (x, y) is sample (i, j) of pixel (x, y) in `frame`, 0 <= i, j < n.
// Pixel x covers x - 1/2 to x + 1/2 about its own point, and its samples sit at
// x + (i + 1/2) / n - 1/2: centred on that point, so a grid of 1 is the frame itself.
PictureFrame sampleFrame(const PictureFrame& frame, int n, int i, int j);

// The mean of several pictures of the same pixels, taken in linear light: the light of detail
// finer than a pixel mixes as light does, so a thin bright filament on black keeps its
// brightness instead of darkening as a mean of the sRGB levels would make it.
class LinearAverage {
 public:
  explicit LinearAverage(std::size_t pixels) : sums_(3 * pixels) {}

  void add(std::span<const Colour> picture);
  // The mean of the pictures added, encoded back to sRGB levels, rounded to nearest.
  void mean(std::span<Colour> out) const;

 private:
  std::vector<double> sums_;  // red, green and blue light per pixel
  int count_ = 0;
};

}  // namespace orvane
