// How the explorer's gestures change its view.
#include "explore/explore_steering.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "render/option_value.h"

namespace orvane::explore {

namespace {

constexpr int kHomeDepth = 256;
constexpr long kMaxDepth = std::numeric_limits<std::int32_t>::max();
constexpr int kMaxLevel = 10;

deep::ViewNumber times(const deep::ViewNumber& zoom, const char* factor) {
  return orvane::zoomedBy(zoom, OptionValue("zoom-by", factor));
}

// The view with one of its colour levels moved by `step`, within 0 to 10 (5 when unset).
ViewRequest withLevel(const ViewRequest& view, std::optional<std::int16_t> ViewRequest::*level,
                      int step) {
  ViewRequest next = view;
  next.*level =
      static_cast<std::int16_t>(std::clamp((view.*level).value_or(5) + step, 0, kMaxLevel));
  return next;
}

}  // namespace

ViewRequest homeView(PosterSize size) {
  ViewRequest view;
  view.rotation = -90;
  view.centre = {*deep::ViewNumber::read("-0.5"), *deep::ViewNumber::read("0")};
  view.depth = kHomeDepth;
  view.outer = 1;  // neighbouring escape counts apart enough to show spirals, not noise
  view.size = size;
  return view;
}

ViewRequest withFormula(const ViewRequest& view, std::int16_t drawing) {
  ViewRequest next = view;
  next.drawing = drawing;
  next.zoom = deep::ViewNumber::of(1);
  next.rotation = homeView(view.size).rotation;
  const char* x = drawing == formula::kMandelbrot ? "-0.5" : "0";
  next.centre = {*deep::ViewNumber::read(x), *deep::ViewNumber::read("0")};
  return next;
}

ViewRequest zoomedInto(const ViewRequest& view, PicturePixel pixel, const char* factor) {
  ViewRequest next = view;
  next.zoom = times(view.zoom, factor);
  next.centre = pixelCentre(view, pixel, next.zoom);
  return next;
}

ViewRequest zoomedAbout(const ViewRequest& view, PicturePixel pixel, const char* factor) {
  ViewRequest next = view;
  next.zoom = times(view.zoom, factor);
  next.centre = centreKeeping(view, pixel, pixel, next.zoom);
  return next;
}

ViewRequest panned(const ViewRequest& view, PicturePixel from, PicturePixel to) {
  ViewRequest next = view;
  next.centre = centreKeeping(view, from, to, view.zoom);
  return next;
}

ViewRequest zoomedBy(const ViewRequest& view, const char* factor) {
  ViewRequest next = view;
  next.zoom = times(view.zoom, factor);
  return next;
}

ViewRequest deeper(const ViewRequest& view) {
  ViewRequest next = view;
  next.depth = static_cast<int>(std::min<long>(2L * view.depth.value_or(kHomeDepth), kMaxDepth));
  return next;
}

ViewRequest shallower(const ViewRequest& view) {
  ViewRequest next = view;
  next.depth = std::max(1, view.depth.value_or(kHomeDepth) / 2);
  return next;
}

ViewRequest withOuterLevel(const ViewRequest& view, int step) {
  return withLevel(view, &ViewRequest::outer, step);
}

ViewRequest withInnerLevel(const ViewRequest& view, int step) {
  return withLevel(view, &ViewRequest::inner, step);
}

ViewRequest resized(const ViewRequest& view, PosterSize size) {
  ViewRequest next = view;
  next.size = size;
  return next;
}

}  // namespace orvane::explore
