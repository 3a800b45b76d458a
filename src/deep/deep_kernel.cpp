// The evaluation of a deep view's points, for the poster's bands.
#include "deep/deep_kernel.h"

#include <utility>

#include "deep/hole_direct.h"
#include "deep/perturbation.h"

namespace orvane::deep {

ShareKernel deepKernel(std::shared_ptr<const DeepView> view,
                       std::shared_ptr<const DeepReference> reference) {
  return [view = std::move(view), reference = std::move(reference)](PointWork& work) {
    const PointSetup& setup = work.setup;
    if (!reference) {
      HoleIteration hole(view->precisionBits, setup);
      return computeEach(work,
                         [&](Pixel p, std::uint64_t) { return hole.iterate(*view, p.x, p.y); });
    }
    return computePerturbed(work, *view, *reference);
  };
}

}  // namespace orvane::deep
