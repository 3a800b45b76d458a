// One picture of orvane-render: the window's own, a poster, or a deep view.
#include "render/render_picture.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "deep/deep_kernel.h"
#include "engine/memory_surface.h"
#include "engine/pass_plan.h"
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

PosterDetail posterDetail(const ViewRequest& drawn) {
  return {.depth = *drawn.depth, .supersample = drawn.supersample.value_or(1)};
}

// A poster whose points are perturbed around reference orbits computed for the exact view.
PassStatistics drawDeepPoster(const ViewRequest& drawn, ExplorerState& state, DialogValues& dialogs,
                              ComputeOptions options, const PosterRowSink& sink,
                              const PosterProgress& progress, ReferenceReuse* reuse) {
  const auto report = [&progress](double done) {
    if (progress) progress(done);
  };
  const auto makeKernel = [&](const PointSetup& setup) {
    const NumberPair& centre = *drawn.centre;
    std::optional<deep::DeepView> reading =
        deep::readDeepView(centre.first, centre.second, drawn.zoom);
    if (!reading) return ShareKernel{};  // the command line lets no such view through
    auto view = std::make_shared<const deep::DeepView>(std::move(*reading));
    std::shared_ptr<const deep::DeepReference> reference;
    if (setup.settings.formula != formula::kHole) {
      const bool reusable = reuse && reuse->reference && reuse->bits == view->precisionBits &&
                            reuse->centre == centre;
      if (reusable) {
        reference =
            std::make_shared<const deep::DeepReference>(*reuse->reference, setup, view->zoom);
      } else {
        reference = std::make_shared<const deep::DeepReference>(
            *view, setup, [&](double done) { report(done * kReferenceShare); });
        if (reuse) *reuse = {centre, view->precisionBits, reference, reuse->computed + 1};
      }
    }
    return deep::deepKernel(std::move(view), std::move(reference));
  };
  return renderPoster(
      state, dialogs, drawn.size, options, sink,
      [&](double done) { report(kReferenceShare + done * (1 - kReferenceShare)); }, makeKernel,
      posterDetail(drawn));
}

// What the drawing pass of `prepared` uses for each pixel: its setup, its random draws and, for
// the window's own picture, its cell order.
DrawnPass drawnPass(const PicturePlan& plan, bool window) {
  const ViewRequest& drawn = plan.drawn;
  DrawnPass pass;
  pass.setup = pointSetup(plan);
  pass.view = deep::readDeepView(drawn.centre->first, drawn.centre->second, drawn.zoom);
  pass.randomStart = plan.prepared.random.position();
  if (window) {
    const auto [side, order] = passGrid(plan.prepared);
    const std::vector<Pixel> pixels = passPixels(order, side);
    pass.drawingOrder.resize(static_cast<std::size_t>(kPictureWidth) * kPictureHeight);
    for (std::size_t k = 0; k < pixels.size(); ++k) {
      const Pixel p = pixels[k];
      pass.drawingOrder[static_cast<std::size_t>(p.y) * kPictureWidth +
                        static_cast<std::size_t>(p.x)] = static_cast<std::uint32_t>(k);
    }
  }
  return pass;
}

}  // namespace

PicturePlan planPicture(const ViewRequest& view) {
  PicturePlan plan;
  applyViewRequest(view, plan.state, plan.dialogs);
  // The view the pass will draw, from the preparation it starts with, so that the file can
  // keep it ahead of the picture.
  plan.prepared = plan.state;
  plan.preparedDialogs = plan.dialogs;
  preparePass(plan.prepared, plan.preparedDialogs);
  plan.drawn = drawnView(view, plan.prepared, plan.preparedDialogs);
  const ViewRequest& drawn = plan.drawn;
  // Samples finer than pixels need the precision that tells them apart.
  plan.choice = deep::choosePrecision(
      drawn.precision.value_or(deep::Precision::kAuto), drawn.zoom, drawn.centre->first,
      drawn.centre->second, posterFrame(drawn.size).scale * drawn.supersample.value_or(1));
  return plan;
}

PointSetup pointSetup(const PicturePlan& plan) {
  PointSettings settings =
      capturePointSettings(plan.prepared, plan.preparedDialogs, plan.prepared.drawing);
  settings.iterDepth = *plan.drawn.depth;  // past the window's 16 bits too
  PointSetup setup = preparePointSetup(settings);
  setup.frame = posterFrame(plan.drawn.size);  // at 400 x 300 the window's own
  return setup;
}

RenderedPicture renderPicture(const RenderRequest& request, ComputeOptions options,
                              const PosterRowSink& sink, const PosterProgress& progress,
                              const ViewSink& view, ReferenceReuse* reuse) {
  PicturePlan plan = planPicture(request.view);
  const ViewRequest& drawn = plan.drawn;
  RenderedPicture picture;
  picture.view = viewChunkText(drawn);
  picture.depth = *drawn.depth;
  if (view) view(picture.view);
  picture.choice = plan.choice;
  // The window's own pass holds a 16-bit depth and one sample a pixel; a deeper or supersampled
  // picture is drawn as a poster is, in row order, since no window pass draws it.
  const bool window = !picture.choice.deep && drawn.size.width == kPictureWidth &&
                      drawn.size.height == kPictureHeight && *drawn.depth <= kMaxWindowDepth &&
                      drawn.supersample.value_or(1) == 1;
  // The sample takes the drawn colours of its pixels as the rows pass.
  if (request.verify > 0) {
    picture.check =
        PixelCheck{PixelSample(drawn.size, request.verify, picture.view), drawnPass(plan, window)};
  }
  const PosterRowSink rows = !picture.check ? sink : PosterRowSink([&](int y, auto row) {
    picture.check->sample.take(y, row);
    sink(y, row);
  });
  if (picture.choice.deep) {
    picture.statistics =
        drawDeepPoster(drawn, plan.state, plan.dialogs, options, rows, progress, reuse);
  } else if (window) {
    picture.statistics = drawWindowPicture(plan.state, plan.dialogs, options, rows);
  } else {
    picture.statistics = renderPoster(plan.state, plan.dialogs, drawn.size, options, rows, progress,
                                      {}, posterDetail(drawn));
  }
  return picture;
}

}  // namespace orvane
