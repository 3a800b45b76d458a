// A deep picture's pixels: one at a time for reference, several interleaved for speed.
#include "deep/perturbation.h"

#include "deep/perturbed_orbit.h"

namespace orvane::deep {

PointResult iteratePerturbed(const DeepReference& reference, ComplexExp offset,
                             const PointSetup& setup, std::uint64_t randomBase) {
  PerturbedOrbit orbit(reference, offset, randomBase);
  while (!orbit.advance(setup)) {
  }
  return orbit.result();
}

PointResult iterateDeepPixel(int x, int y, const DeepView& view, const DeepReference& reference,
                             const PointSetup& setup, std::uint64_t randomBase) {
  return iteratePerturbed(reference, pixelOffset(x, y, setup, view.zoom), setup, randomBase);
}

}  // namespace orvane::deep
