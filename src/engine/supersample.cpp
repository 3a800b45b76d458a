// Supersampling: each pixel the average of n x n samples on a regular grid within it.
#include "engine/supersample.h"

#include <array>
#include <cmath>

namespace orvane {

namespace {

// The sRGB transfer function (IEC 61966-2-1), level 0 to 1 to light 0 to 1 and back.
double toLinear(double level) {
  return level <= 0.04045 ? level / 12.92 : std::pow((level + 0.055) / 1.055, 2.4);
}

double toLevel(double light) {
  return light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1 / 2.4) - 0.055;
}

const std::array<double, 256>& linearLevels() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> levels{};
    for (std::size_t c = 0; c < levels.size(); ++c) levels[c] = toLinear(c / 255.0);
    return levels;
  }();
  return table;
}

int encoded(double light) {
  return static_cast<int>(std::lround(255 * toLevel(light)));
}

}  // namespace

PictureFrame sampleFrame(const PictureFrame& frame, int n, int i, int j) {
  const auto shift = [n](int k) { return (k + 0.5) / n - 0.5; };
  return {.centreX = frame.centreX - shift(i),
          .centreY = frame.centreY - shift(j),
          .scale = frame.scale};
}

void LinearAverage::add(std::span<const Colour> picture) {
  const std::array<double, 256>& linear = linearLevels();
  for (std::size_t p = 0; p < picture.size(); ++p) {
    const Colour c = picture[p];
    sums_[3 * p] += linear[static_cast<std::size_t>(redOf(c))];
    sums_[3 * p + 1] += linear[static_cast<std::size_t>(greenOf(c))];
    sums_[3 * p + 2] += linear[static_cast<std::size_t>(blueOf(c))];
  }
  ++count_;
}

void LinearAverage::mean(std::span<Colour> out) const {
  for (std::size_t p = 0; p < out.size(); ++p) {
    out[p] = packColour(encoded(sums_[3 * p] / count_), encoded(sums_[3 * p + 1] / count_),
                        encoded(sums_[3 * p + 2] / count_));
  }
}

}  // namespace orvane
