// orvane-render-video makes the videos itself.
#include "render/make_video.h"
#include "render/video_launch.h"

namespace orvane {

int drawVideo(const RenderRequest& request, ComputeOptions options, char*[]) {
  return render::runVideo(request, options);
}

}  // namespace orvane
