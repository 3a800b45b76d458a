// The render pass `drawings`: computes and draws the whole picture for the explorer state.
//
// The pass draws row by row and tests `busy` after every row, as a point-by-point pass would;
// the colours come from `ColoursAhead`, which computes them in batches over all cores. After
// each yield the pass hands it a new snapshot of what a colour depends on, so the picture is
// the one a point-by-point evaluation would draw.
#include "engine/render_pass.h"

#include <algorithm>
#include <chrono>

#include "engine/colours_ahead.h"
#include "engine/rotation.h"
#include "engine/state_defaults.h"

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

RenderPass::RenderPass(ExplorerState& state, DialogValues& dialogs, DrawingSurface& surface,
                       YieldFunction yield, ComputeOptions options)
    : state_(state),
      dialogs_(dialogs),
      surface_(surface),
      yield_(std::move(yield)),
      computer_(options) {}

void RenderPass::drawings() {
  if (closing_) return;
  if (running_) {
    restartRequested_ = true;
    return;
  }
  running_ = true;
  statistics_ = {};
  const Clock::time_point start = Clock::now();
  Outcome outcome;
  do {
    restartRequested_ = false;
    outcome = runOnce();
  } while (outcome == Outcome::restart);
  statistics_.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  running_ = false;
}

void RenderPass::close() {
  closing_ = true;
}

RenderPass::Outcome RenderPass::runOnce() {
  preparePass(state_, dialogs_);
  surface_.setPenMode(PenMode::copy);
  surface_.setPointer(Pointer::hourglass);
  if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return outcome;

  // The formula current at the start is the one drawn, even if a command changes it.
  const std::int16_t drawing = state_.drawing;
  if (formula::isDrawn(drawing)) {
    if (const Outcome outcome = traverse(drawing); outcome != Outcome::goOn) return outcome;
  }
  endPass();
  return Outcome::goOn;
}

void preparePass(ExplorerState& s, DialogValues& dialogs) {
  PositionValues& position = dialogs.position;
  s.busy = kTrue;
  if (s.colr > 255 || s.colg > 255 || s.colb > 255) {
    s.colr = 160;
    s.colg = 64;
    s.colb = 192;
  }
  s.drawing = formulaRead(s.drawing);
  s.viewX = position.numx;
  s.viewY = position.numy;
  s.dimX = dialogs.dimension.numDx;
  s.dimY = dialogs.dimension.numDy;
  if (s.viewZoom == 0) {
    s.viewZoom = kDefaultZoom;
    s.viewY = 0;
    if (s.drawing == formula::kMandelbrot) s.viewX = kMandelbrotHomeX;
    if (s.drawing == formula::kJulia || s.drawing == formula::kHole) s.viewX = 0;
  }
  // `viewZoom` is still the previous one here.
  if (isUnmovedMandelbrotHome(s.drawing, s.viewZoom, s.viewX, s.viewY)) {
    s.viewX = kMandelbrotHomeX;
    position.numx = kMandelbrotHomeX;
  }
  s.zoomDivisor = zoomRead(s.zoomDivisor);
  fillIterationDefaults(s);
  position.numzoom = zoomRead(position.numzoom);
  // A pending zoom step becomes part of the position dialog's values.
  s.viewZoom = position.numzoom / s.zoomDivisor;
  s.zoomDivisor = 1;
  position.numzoom = s.viewZoom;
  s.viewTurn = position.ct;
  s.turnRad = turnRadians(s.viewTurn);
  s.renderIn = dialogs.rendering.dcin;
  s.renderOut = dialogs.rendering.dcout;
}

RenderPass::Outcome RenderPass::traverse(std::int16_t drawing) {
  ExplorerState& s = state_;
  // The pass keeps the order it began with: a rebuild during a yield replaces the state's
  // order but cannot pull the running pass outside its own copy.
  const auto [side, order] = passGrid(s);
  pixels_ = passPixels(order, side);
  colours_.resize(pixels_.size());

  ColoursAhead ahead(computer_, pixels_, colours_, window_);
  ahead.use(capturePointSettings(s, dialogs_, drawing));
  std::size_t drawn = 0;  // pixels set so far, in pass order
  std::uint64_t expectedPosition = s.random.position();

  const auto drawUpTo = [&](std::size_t end) {
    const std::span<const Colour> colours = ahead.take(end, s.random.position());
    for (const Colour colour : colours) {
      surface_.setPixel(pixels_[drawn].x, pixels_[drawn].y, colour);
      ++drawn;
    }
    statistics_.pixels += colours.size();
    s.random.advance(colours.size() * ahead.setup().randomStride());
    expectedPosition = s.random.position();
  };
  // After a yield: a new snapshot, and the colours computed ahead dropped if it changed.
  const auto resume = [&] {
    if (ahead.setup().jittered && s.random.position() != expectedPosition) ahead.dropAhead();
    ahead.use(capturePointSettings(s, dialogs_, drawing));
  };
  const auto end = [&](Outcome outcome) {
    statistics_ += ahead.counts();
    return outcome;
  };

  std::size_t rowEnd = 0;
  for (std::size_t cellIndex = 0; cellIndex < order.size(); ++cellIndex) {
    if (!isCell(order[cellIndex], side)) continue;
    const CellShape cell = cellShape(order[cellIndex], side);
    for (int row = 0; row < cell.rows; ++row) {
      rowEnd += static_cast<std::size_t>(cell.columns);
      drawUpTo(rowEnd);
      if (s.busy == kFalse) {
        s.busy = kTrue;
        return end(Outcome::goOn);
      }
      if (s.gridChoice == kLineMode) {
        if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return end(outcome);
        resume();
      }
    }
    if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return end(outcome);
    resume();
  }
  return end(Outcome::goOn);
}

RenderPass::Outcome RenderPass::yieldToEvents() {
  if (yield_) yield_();
  if (closing_) return Outcome::closed;
  if (restartRequested_) return Outcome::restart;
  return Outcome::goOn;
}

void RenderPass::endPass() {
  surface_.setPointer(Pointer::crosshair);
  surface_.setPenMode(PenMode::invert);
  state_.busy = kTrue;
}

}  // namespace orvane
