// Zoom videos from orvane-render. FFmpeg's libraries bring some 120 shared libraries with
// them, whose loading would add a fifth of a second to every picture's start-up; so the
// videos are made by a second program, orvane-render-video, built from the same sources and
// installed beside orvane-render, which runs it for the video options alone.
#pragma once

#include "engine/point_computer.h"
#include "render/render_request.h"

namespace orvane {

// Does what `request.video` asks, here or in the program that can; the exit status. `argv`
// is the command line as the program received it.
int drawVideo(const RenderRequest& request, ComputeOptions options, char* argv[]);

}  // namespace orvane
