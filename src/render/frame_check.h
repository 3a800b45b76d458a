// A video's frames checked against its plan: each frame must keep the very view the plan
// gives it, so that frames of another video, or of another run's options, are never mixed in.
#pragma once

#include <string>

#include "render/render_request.h"

namespace orvane::render {

// Frame k of `video`'s request alone: the video's view at the frame's magnification.
RenderRequest frameRequest(const RenderRequest& video, long k);

// The view text frame k keeps in its file.
std::string frameView(const RenderRequest& video, long k);

// Why the folder's file for frame k is not this video's frame k, as "is missing", "keeps no
// view" or "keeps another view: its --center is A, not B" (the first option that differs);
// empty when it is.
std::string frameFault(const RenderRequest& video, long k);

}  // namespace orvane::render
