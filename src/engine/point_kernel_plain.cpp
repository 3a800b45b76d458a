// The plain scalar kernel: one point after the other through the reference iteration.
#include "engine/point_iteration.h"
#include "engine/point_work.h"

namespace orvane {

std::uint64_t computePlain(PointWork& work) {
  PointFeed feed(work);
  const std::uint64_t stride = work.setup.randomStride();
  std::uint64_t iterations = 0;
  for (std::size_t i; feed.take(i);) {
    const Pixel pixel = work.pixels[i];
    const PointResult result =
        iteratePixel(pixel.x, pixel.y, work.setup, work.randomBase + i * stride);
    work.out[i] = colourOf(work.colours, result);
    iterations += static_cast<std::uint64_t>(result.n) + 1;
  }
  return iterations;
}

}  // namespace orvane
