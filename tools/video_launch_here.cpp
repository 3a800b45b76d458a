// orvane-render-video makes the videos itself.
#include "tools/video/make_video.h"
#include "tools/video_launch.h"

namespace orvane {

int drawVideo(const RenderRequest& request, ComputeOptions options, char*[]) {
  return video::runVideo(request, options);
}

}  // namespace orvane
