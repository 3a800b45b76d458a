// --info: what a picture's kept view says, printed for the user and for scripts.
#pragma once

#include <optional>
#include <string>

#include "render/render_request.h"
#include "render/zoom_at.h"

namespace orvane {

struct InfoRequest {
  std::string file;
  ViewRequest picture;  // the view it keeps
  std::optional<PicturePixel> at;
};

// Lines of "key value", as --stats prints them: the command that draws the picture again, its
// size, its width and height in the plane and a pixel's, the mode and why, and the plane point
// of the pixel asked for.
std::string pictureInfo(const InfoRequest& info);

}  // namespace orvane
