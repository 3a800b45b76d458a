// The render pass `drawings`: computes and draws the whole picture for the explorer state.
//
// Handlers run only inside the pass's yields, so nothing the pass reads can change between
// two yields. The pass therefore computes colours ahead of the drawing in large batches
// (over all cores and SIMD lanes) and draws them row by row, testing `busy` after every row.
// After each yield it takes a new snapshot of what a point's colour depends on; when that
// has changed, the colours computed ahead are thrown away and computed again from the first
// pixel not yet drawn. The picture is the one a point-by-point evaluation would draw.
#include "render_pass.h"

#include <algorithm>
#include <chrono>

#include "number_text.h"
#include "point_iteration.h"

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kPi = 3.14159265358979;  // the decimal the rotation has always used

bool drawsSomething(std::int16_t drawing) {
  return drawing == formula::kMandelbrot || drawing == formula::kJulia || drawing == formula::kHole;
}

// A batch of points computed ahead should take about this long, so the window answers input
// quickly while the batches stay large enough to keep every core busy.
constexpr double kBatchSeconds = 0.015;
constexpr std::size_t kMinWindow = 256;

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
  prepare();
  surface_.setPenMode(PenMode::copy);
  surface_.setPointer(Pointer::hourglass);
  if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return outcome;
  surface_.setRetained(true);

  // The formula current at the start is the one drawn, even if a command changes it.
  const std::int16_t drawing = state_.drawing;
  if (drawsSomething(drawing)) {
    if (const Outcome outcome = traverse(drawing); outcome != Outcome::goOn) return outcome;
  }
  endPass();
  return Outcome::goOn;
}

void RenderPass::prepare() {
  ExplorerState& s = state_;
  PositionValues& position = dialogs_.position;
  s.busy = kTrue;
  if (s.colr > 255 || s.colg > 255 || s.colb > 255) {
    s.colr = 160;
    s.colg = 64;
    s.colb = 192;
  }
  if (s.drawing == formula::kNone) s.drawing = formula::kMandelbrot;
  s.viewX = position.numx;
  s.viewY = position.numy;
  s.dimX = dialogs_.dimension.numDx;
  s.dimY = dialogs_.dimension.numDy;
  if (s.viewZoom == 0) {
    s.viewZoom = 1;
    s.viewY = 0;
    if (s.drawing == formula::kMandelbrot) s.viewX = -0.5;
    if (s.drawing == formula::kJulia || s.drawing == formula::kHole) s.viewX = 0;
  }
  // The Mandelbrot home view is centred on -0.5; `viewZoom` is still the previous one here.
  if (s.drawing == formula::kMandelbrot && s.viewZoom == 1 && s.viewX == 0 && s.viewY == 0) {
    s.viewX = -0.5;
    position.numx = -0.5;
  }
  if (s.zoomDivisor == 0) s.zoomDivisor = 1;
  if (s.iterDepth == 0) s.iterDepth = 64;
  if (s.escapeValue == 0) s.escapeValue = 4;
  if (s.jitterLow == 0 || s.jitterHigh == 0) s.jitterLow = s.jitterHigh = 1.0f;
  if (s.colorMode == 0) s.colorMode = colour_mode::kRgb;
  if (position.numzoom == 0) position.numzoom = 1;
  // A pending zoom step becomes part of the position dialog's values.
  s.viewZoom = position.numzoom / s.zoomDivisor;
  s.zoomDivisor = 1;
  position.txtZoom = generalDecimal(s.viewZoom);
  position.numzoom = s.viewZoom;
  s.viewTurn = position.ct;
  // Negated as a wider integer: -(-32768) has no 16-bit value.
  s.turnRad = static_cast<double>(-static_cast<int>(s.viewTurn)) / 180 * kPi;
  s.renderIn = dialogs_.rendering.dcin;
  s.renderOut = dialogs_.rendering.dcout;
}

RenderPass::Outcome RenderPass::traverse(std::int16_t drawing) {
  ExplorerState& s = state_;
  // The pass keeps the order it began with: a rebuild during a yield replaces the state's
  // order but cannot pull the running pass outside its own copy.
  // Without an order (the load routine has not run) the picture is drawn in line order.
  const bool hasOrder = s.gridSide > 0 && !s.cellOrder.empty();
  const int side = hasOrder ? s.gridSide : 1;
  const std::vector<std::int16_t> order = hasOrder ? s.cellOrder : std::vector<std::int16_t>{0};
  pixels_ = passPixels(order, side);
  colours_.resize(pixels_.size());

  PointSetup setup = preparePointSetup(capturePointSettings(s, dialogs_, drawing));
  ColourSetup colours = prepareColourSetup(setup.settings, setup.depth);
  std::size_t drawn = 0;      // pixels set so far, in pass order
  std::size_t ready = 0;      // pixels whose colours are computed
  std::size_t flightEnd = 0;  // end of the batch computing in the background, if any
  Clock::time_point flightStart;
  std::uint64_t expectedPosition = s.random.position();
  // However the traversal ends, no batch may run on into the next pass.
  struct CancelOnExit {
    PointComputer& computer;
    ~CancelOnExit() { computer.cancel(); }
  } cancelOnExit{computer_};

  const auto launch = [&](std::size_t end) {
    const std::uint64_t base = s.random.position() + (ready - drawn) * setup.randomStride();
    computer_.start(setup, colours, std::span(pixels_).subspan(ready, end - ready),
                    std::span(colours_).subspan(ready, end - ready), base);
    flightEnd = end;
    flightStart = Clock::now();
  };
  const auto land = [&] {
    statistics_.iterations += computer_.wait();
    const double seconds = std::chrono::duration<double>(Clock::now() - flightStart).count();
    if (flightEnd - ready == window_) {
      if (seconds < kBatchSeconds / 2) window_ *= 2;
      if (seconds > kBatchSeconds * 2) window_ = std::max(kMinWindow, window_ / 2);
    }
    ready = flightEnd;
  };
  // Draws up to `end`, and keeps the next batch computing while the pixels are set.
  const auto drawUpTo = [&](std::size_t end) {
    if (ready < end && computer_.running()) land();
    if (ready < end) {
      launch(std::min(pixels_.size(), std::max(end, ready + window_)));
      land();
    }
    if (!computer_.running() && ready < pixels_.size())
      launch(std::min(pixels_.size(), ready + window_));
    statistics_.pixels += end - drawn;
    for (; drawn < end; ++drawn)
      surface_.setPixel(pixels_[drawn].x, pixels_[drawn].y, colours_[drawn]);
  };
  const auto rememberLastPoint = [&] {
    if (drawn == 0) return;
    const Complex c = constantFor(pixels_[drawn - 1].x, pixels_[drawn - 1].y, setup);
    s.constX = c.re;
    s.constY = c.im;
  };
  // After a yield: a new snapshot, and the colours computed ahead dropped if it changed.
  const auto resume = [&] {
    const PointSettings now = capturePointSettings(s, dialogs_, drawing);
    const bool randomMoved = setup.jittered && s.random.position() != expectedPosition;
    if (now == setup.settings && !randomMoved) return;
    computer_.cancel();
    setup = preparePointSetup(now);
    colours = prepareColourSetup(setup.settings, setup.depth);
    ready = drawn;
  };

  std::size_t rowStart = 0;
  for (std::size_t cellIndex = 0; cellIndex < order.size(); ++cellIndex) {
    if (!isCell(order[cellIndex], side)) continue;
    const CellShape cell = cellShape(order[cellIndex], side);
    s.cellIndex = static_cast<std::int16_t>(cellIndex);
    s.cellRow = static_cast<std::int16_t>(cell.row);
    s.cellCol = static_cast<std::int16_t>(cell.column);
    for (int row = 0; row < cell.rows; ++row) {
      rowStart += static_cast<std::size_t>(cell.columns);
      drawUpTo(rowStart);
      s.random.advance(static_cast<std::uint64_t>(cell.columns) * setup.randomStride());
      expectedPosition = s.random.position();
      if (s.busy == kFalse) {
        s.busy = kTrue;
        rememberLastPoint();
        return Outcome::goOn;
      }
      if (s.gridChoice == kLineMode) {
        if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return outcome;
        resume();
      }
    }
    if (const Outcome outcome = yieldToEvents(); outcome != Outcome::goOn) return outcome;
    resume();
  }
  rememberLastPoint();
  return Outcome::goOn;
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
