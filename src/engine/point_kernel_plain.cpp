// The plain scalar kernel: one point after the other through the reference iteration.
#include "engine/point_iteration.h"
#include "engine/point_work.h"

namespace orvane {

StepCounts computePlain(PointWork& work) {
  return computeEach(work, [&setup = work.setup](Pixel pixel, std::uint64_t randomBase) {
    return iteratePixel(pixel.x, pixel.y, setup, randomBase);
  });
}

}  // namespace orvane
