// The evaluation of a deep view's points, for the poster's bands.
#pragma once

#include <memory>

#include "deep/deep_view.h"
#include "deep/reference_orbit.h"
#include "engine/point_work.h"

namespace orvane::deep {

// Each point of the share perturbed around `reference` (the Hole: iterated directly, with no
// reference) and coloured as the double path colours. The kernel keeps both alive.
ShareKernel deepKernel(std::shared_ptr<const DeepView> view,
                       std::shared_ptr<const DeepReference> reference);

}  // namespace orvane::deep
