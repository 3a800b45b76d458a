// Whether a picture's reference orbits fit in the machine's memory.
#include "render/memory_budget.h"

#include <unistd.h>

#include <cstdio>

#include "deep/reference_orbit.h"
#include "render/render_picture.h"

namespace orvane {

std::uint64_t machineMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return UINT64_MAX;  // unknown: nothing is refused
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

namespace {

std::string pictureRefusal(const RenderRequest& request, std::uint64_t memory) {
  const PicturePlan plan = planPicture(request.view);
  const ViewRequest& drawn = plan.drawn;
  if (!plan.choice.deep || drawn.drawing == formula::kHole) return {};
  // One orbit where the pixels start on the critical point itself, a second one otherwise.
  const bool critical = drawn.drawing == formula::kMandelbrot &&
                        drawn.components->first.nearest() == 0 &&
                        drawn.components->second.nearest() == 0;
  const std::uint64_t bytes = deep::referenceBytes(*drawn.depth, critical ? 1 : 2);
  if (bytes <= memory) return {};
  constexpr double kGiB = 1024.0 * 1024 * 1024;
  char line[200];
  std::snprintf(line, sizeof line,
                "--depth: %d steps take %.1f GiB of reference orbits, more than the %.1f GiB of "
                "memory here",
                *drawn.depth, static_cast<double>(bytes) / kGiB,
                static_cast<double>(memory) / kGiB);
  return line;
}

}  // namespace

std::string depthMemoryRefusal(const RenderRequest& request, std::uint64_t memory) {
  if (std::string refusal = pictureRefusal(request, memory); !refusal.empty()) return refusal;
  if (!request.video) return {};
  // A video's frames lie between its two ends; the deepest is one of them.
  RenderRequest first = request;
  first.view.zoom = request.video->zoomFrom;
  return pictureRefusal(first, memory);
}

}  // namespace orvane
