// The render pass `drawings`: computes and draws the whole picture for the explorer state.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/colouring.h"
#include "engine/drawing_surface.h"
#include "engine/explorer_state.h"
#include "engine/pass_plan.h"
#include "engine/point_computer.h"
#include "engine/point_settings.h"

namespace orvane {

// What the last pass did, for the renderer's statistics and the benchmarks: the steps its
// points took, its pixels and its time.
struct PassStatistics : StepCounts {
  std::uint64_t pixels = 0;  // pixels set
  double seconds = 0;
};

// The preparation every pass starts with: `busy` set, defaults filled in, the dialog values
// and a pending zoom step taken into the state.
void preparePass(ExplorerState& state, DialogValues& dialogs);

class RenderPass {
 public:
  RenderPass(ExplorerState& state, DialogValues& dialogs, DrawingSurface& surface,
             YieldFunction yield, ComputeOptions options = {});

  // `drawings`: fills in defaults, copies the dialog values into the state and draws every
  // pixel in the cell order, yielding after every cell (and every row in line mode). Returns
  // when the picture is complete or a Stop (`busy` set to 0) was seen after a row.
  //
  // Called again while a pass runs (from a handler inside one of its yields), it does not
  // nest: the running pass ends at that yield and one fresh pass begins with its
  // preparation, so two passes never share working fields.
  void drawings();

  // The window is closing: a running pass ends at its next yield without drawing further,
  // and no pass starts any more.
  void close();

  bool running() const { return running_; }
  const PassStatistics& statistics() const { return statistics_; }

 private:
  enum class Outcome { goOn, restart, closed };

  Outcome runOnce();
  Outcome traverse(std::int16_t drawing);
  Outcome yieldToEvents();
  void endPass();

  ExplorerState& state_;
  DialogValues& dialogs_;
  DrawingSurface& surface_;
  YieldFunction yield_;
  PointComputer computer_;
  std::size_t window_ = 2048;  // points computed ahead per batch, adapted to the speed seen
  bool running_ = false;
  bool restartRequested_ = false;
  bool closing_ = false;
  PassStatistics statistics_;
  std::vector<Pixel> pixels_;    // the pass's pixels in drawing order
  std::vector<Colour> colours_;  // their colours, computed ahead
};

}  // namespace orvane
