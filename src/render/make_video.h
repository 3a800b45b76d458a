// Zoom videos: the frame count, a share of the frames as PNGs, or the video itself, encoded
// as its frames are drawn or from a folder of them.
#pragma once

#include "engine/point_computer.h"
#include "render/render_request.h"

namespace orvane::render {

// Does what `request.video` asks; the program's exit status.
int runVideo(const RenderRequest& request, ComputeOptions options);

}  // namespace orvane::render
