// One picture of orvane-render: the window's own, a poster, or a deep view.
#include "render/render_picture.h"

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "deep/deep_kernel.h"
#include "engine/memory_surface.h"
#include "engine/render_pass.h"
#include "render/view_chunk.h"

namespace orvane {

namespace {

// The share of the progress bar the reference orbits take: they cost a small part of the
// pixels' work, but at great depths they come first and take seconds.
constexpr double kReferenceShare = 0.1;

// The pass exactly as Start draws it, cell order and all.
PassStatistics drawWindowPicture(ExplorerState& state, DialogValues& dialogs,
                                 ComputeOptions options, const PosterRowSink& sink) {
  MemorySurface surface(kPictureWidth, kPictureHeight);
  RenderPass pass(state, dialogs, surface, {}, options);
  pass.drawings();
  std::vector<Colour> row(static_cast<std::size_t>(surface.width()));
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x)
      row[static_cast<std::size_t>(x)] = surface.pixel(x, y);
    sink(y, row);
  }
  return pass.statistics();
}

// The texts of the view the pass settled on: the request's own digits where the pass kept the
// value they give, else the pass's double (a default, or the home view's centre).
struct ViewTexts {
  std::string x, y, zoom;
};

std::string keptText(const std::optional<std::string>& given, double passValue) {
  return given && deep::nearestDouble(*given) == passValue ? *given : exactText(passValue);
}

ViewTexts passViewTexts(const RenderRequest& request, const PointSettings& settings) {
  std::optional<std::string> x, y;
  if (request.centre) std::tie(x, y) = *request.centre;
  return {keptText(x, settings.viewX), keptText(y, settings.viewY),
          keptText(request.zoom, settings.viewZoom)};
}

// A poster whose points are perturbed around reference orbits computed for the exact view.
PassStatistics drawDeepPoster(const RenderRequest& request, ExplorerState& state,
                              DialogValues& dialogs, PosterSize size, ComputeOptions options,
                              const PosterRowSink& sink, const PosterProgress& progress,
                              ReferenceReuse* reuse) {
  const auto report = [&progress](double done) {
    if (progress) progress(done);
  };
  const auto makeKernel = [&](const PointSetup& setup) {
    const ViewTexts texts = passViewTexts(request, setup.settings);
    deep::DeepViewReading reading = deep::readDeepView(texts.x, texts.y, texts.zoom);
    if (!reading.view) return ShareKernel{};  // the command line lets no such view through
    auto view = std::make_shared<const deep::DeepView>(std::move(*reading.view));
    std::shared_ptr<const deep::DeepReference> reference;
    if (setup.settings.formula != formula::kHole) {
      const bool reusable = reuse && reuse->reference && reuse->bits == view->precisionBits &&
                            reuse->centreX == texts.x && reuse->centreY == texts.y;
      if (reusable) {
        reference = reuse->reference;
      } else {
        reference = std::make_shared<const deep::DeepReference>(
            *view, setup, [&](double done) { report(done * kReferenceShare); });
        if (reuse) *reuse = {texts.x, texts.y, view->precisionBits, reference, reuse->computed + 1};
      }
    }
    return deep::deepKernel(std::move(view), std::move(reference));
  };
  return renderPoster(
      state, dialogs, size, options, sink,
      [&](double done) { report(kReferenceShare + done * (1 - kReferenceShare)); }, makeKernel);
}

}  // namespace

RenderedPicture renderPicture(const RenderRequest& request, ComputeOptions options,
                              const PosterRowSink& rowSink, const PosterProgress& progress,
                              const ViewSink& view, ReferenceReuse* reuse) {
  ExplorerState state;
  DialogValues dialogs;
  applyRenderRequest(request, state, dialogs);
  const PosterSize size = request.size.value_or(PosterSize{});
  const PositionValues& position = dialogs.position;
  RenderedPicture picture;
  picture.choice = deep::choosePrecision(
      request.precision.value_or(deep::Precision::kAuto),
      request.zoom.value_or(exactText(position.numzoom)),
      request.centre ? request.centre->first : exactText(position.numx),
      request.centre ? request.centre->second : exactText(position.numy), posterFrame(size).scale);
  const bool window = size.width == kPictureWidth && size.height == kPictureHeight;
  // The pass has prepared the state by its first row, and changes no view value after that.
  std::optional<std::string> told;
  const PosterRowSink sink = [&](int y, std::span<const Colour> row) {
    if (!told) {
      told = viewOptions(state, dialogs, size, request);
      if (view) view(*told);
    }
    rowSink(y, row);
  };
  if (picture.choice.deep) {
    picture.statistics =
        drawDeepPoster(request, state, dialogs, size, options, sink, progress, reuse);
  } else if (window) {
    picture.statistics = drawWindowPicture(state, dialogs, options, sink);
  } else {
    picture.statistics = renderPoster(state, dialogs, size, options, sink, progress);
  }
  picture.view = viewOptions(state, dialogs, size, request);
  // Should a pass ever change the view after its first row, the file is told the final one.
  if (view && told != picture.view) view(picture.view);
  return picture;
}

}  // namespace orvane
