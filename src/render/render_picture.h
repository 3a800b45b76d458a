// One picture of orvane-render: the window's own, a poster, or a deep view, handed out row by
// row in order.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "deep/precision_choice.h"
#include "deep/reference_orbit.h"
#include "engine/poster.h"
#include "render/render_request.h"
#include "render/verification.h"

namespace orvane {

struct RenderedPicture {
  PassStatistics statistics;        // iterations as a direct iteration takes them, n + 1 per pixel
  deep::PrecisionChoice choice;     // double or deep, and why
  std::string view;                 // the view options the file keeps
  int depth = 0;                    // the depth the pixels were iterated to
  std::optional<PixelCheck> check;  // the pixels --verify checks, with their drawn colours
};

// A picture about to be drawn: the state as the request sets it up, the view the pass will
// draw from it, and the precision that takes.
struct PicturePlan {
  ExplorerState state;
  DialogValues dialogs;
  ExplorerState prepared;  // as the pass's preparation leaves the state
  DialogValues preparedDialogs;
  ViewRequest drawn;
  deep::PrecisionChoice choice;
};

PicturePlan planPicture(const ViewRequest& view);

// What every sample of the planned picture is computed from, its frame the picture's own.
PointSetup pointSetup(const PicturePlan& plan);

// Told the view options the file keeps, once the pass has settled them.
using ViewSink = std::function<void(const std::string& view)>;

// The reference orbits of the last deep picture drawn, for the next one of the same centre at
// the same precision: pictures that differ only in their magnification, as a video's frames
// do. The orbits are then the very ones the picture would compute, so it stays the same.
struct ReferenceReuse {
  std::optional<NumberPair> centre;
  mpfr_prec_t bits = 0;
  std::shared_ptr<const deep::DeepReference> reference;
  long computed = 0;  // how many references were computed rather than reused
};

// Draws the picture `request` asks for: at 400 x 300 in double precision the pass exactly as
// Start draws it, cell order and all; at other sizes, and in deep mode at any size, in row
// bands. `progress` covers a deep view's reference orbits too. `view` is told the view before
// the first row, so a file can keep it ahead of the picture. `reuse`, when given, is shared
// only by requests that differ in nothing but the magnification. A request to verify gets its
// sample of pixels in `check`, for verifyPixels once the picture is safely written.
RenderedPicture renderPicture(const RenderRequest& request, ComputeOptions options,
                              const PosterRowSink& sink, const PosterProgress& progress = {},
                              const ViewSink& view = {}, ReferenceReuse* reuse = nullptr);

}  // namespace orvane
