// --info: what a picture's kept view says.
#include "render/picture_info.h"

#include "deep/deep_view.h"
#include "render/render_picture.h"
#include "render/view_chunk.h"

namespace orvane {

namespace {

constexpr int kExtentDigits = 6;

// `pixels` pixels of the picture, as a length in the plane: pixels / (100 x scale x |zoom|).
std::string planeLength(int pixels, const PicturePlan& plan) {
  const double scale = posterFrame(plan.drawn.size).scale;
  deep::FloatExp zoom = plan.drawn.zoom.wide();
  if (zoom < deep::FloatExp()) zoom = -zoom;
  deep::MpfrNumber length(64);
  deep::setFloatExp(length.get(), deep::FloatExp(pixels / (kPixelsPerUnit * scale)) / zoom);
  return deep::ViewNumber::of(length.get(), kExtentDigits, deep::ViewNumber::Notation::kPlain)
      .text();
}

}  // namespace

std::string pictureInfo(const InfoRequest& info) {
  const PicturePlan plan = planPicture(info.picture);
  const PosterSize size = plan.drawn.size;
  std::string text = "command orvane-render " + viewChunkText(plan.drawn) + " -o redrawn.png\n";
  text += "size " + std::to_string(size.width) + "x" + std::to_string(size.height) + "\n";
  text += "plane width " + planeLength(size.width, plan) + "\n";
  text += "plane height " + planeLength(size.height, plan) + "\n";
  text += "pixel size " + planeLength(1, plan) + "\n";
  text += std::string("mode ") + (plan.choice.deep ? "deep" : "double") + "\n";
  text += "reason " + plan.choice.reason + "\n";
  if (info.at) {
    const auto [re, im] = pixelCentre(info.picture, *info.at, plan.drawn.zoom);
    text += "at " + std::to_string(info.at->x) + "," + std::to_string(info.at->y) + " " +
            re.text() + "," + im.text() + "\n";
  }
  return text;
}

}  // namespace orvane
