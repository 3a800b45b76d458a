// A video's frames checked against its plan.
#include "render/frame_check.h"

#include <filesystem>

#include "render/frame_plan.h"
#include "render/render_picture.h"
#include "render/view_chunk.h"

namespace orvane::render {

RenderRequest frameRequest(const RenderRequest& video, long k) {
  const VideoRequest& plan = *video.video;
  RenderRequest frame = video;
  frame.video.reset();
  frame.view.zoom = frameZoom(plan.zoomFrom, video.view.zoom, k, plan.frameCount);
  return frame;
}

std::string frameView(const RenderRequest& video, long k) {
  return viewChunkText(planPicture(frameRequest(video, k).view).drawn);
}

std::string frameFault(const RenderRequest& video, long k) {
  const std::string path = framePath(video.video->framesDir, k);
  std::error_code failed;
  if (!std::filesystem::exists(path, failed)) return "is missing";
  std::string error;
  const std::optional<std::string> kept = keptViewText(path, error);
  if (!kept) return "cannot be read (" + error + ")";
  if (kept->empty()) return "keeps no view";
  const std::string difference = viewDifference(*kept, frameView(video, k));
  if (!difference.empty()) return "keeps another view: its " + difference;
  return {};
}

}  // namespace orvane::render
