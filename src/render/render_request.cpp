// What orvane-render is asked for, applied to the explorer state.
#include "render/render_request.h"

#include <tuple>

#include "engine/load_routine.h"

namespace orvane {

namespace {

// The rule for every number of a drawn view: the text asked for where the pass draws its
// value, else the exact text of the pass's double.
deep::ViewNumber kept(const std::optional<deep::ViewNumber>& asked, double drawn) {
  return asked && asked->nearest() == drawn ? *asked : deep::ViewNumber::of(drawn);
}

NumberPair keptPair(const std::optional<NumberPair>& asked, double x, double y) {
  if (!asked) return {deep::ViewNumber::of(x), deep::ViewNumber::of(y)};
  return {kept(asked->first, x), kept(asked->second, y)};
}

}  // namespace

void applyViewRequest(const ViewRequest& view, ExplorerState& state, DialogValues& dialogs) {
  if (view.gridChoice) state.gridChoice = *view.gridChoice;
  formLoad(state, dialogs);
  if (view.drawing) state.drawing = *view.drawing;
  PositionValues& position = dialogs.position;
  position.numzoom = view.zoom.nearest();
  if (view.centre) {
    position.numx = view.centre->first.nearest();
    position.numy = view.centre->second.nearest();
  }
  if (view.rotation) position.ct = *view.rotation;
  if (view.components) {
    dialogs.dimension.numDx = view.components->first.nearest();
    dialogs.dimension.numDy = view.components->second.nearest();
  }
  // A depth past the window's range leaves the state's alone: the poster is told it apart.
  if (view.depth && *view.depth <= kMaxWindowDepth)
    state.iterDepth = static_cast<std::int16_t>(*view.depth);
  if (view.escape) state.escapeValue = *view.escape;
  if (view.jitter) std::tie(state.jitterLow, state.jitterHigh) = *view.jitter;
  if (view.colourMode) state.colorMode = *view.colourMode;
  if (view.inner) dialogs.rendering.dcin = dialogs.rendering.sldIn = *view.inner;
  if (view.outer) dialogs.rendering.dcout = dialogs.rendering.sldOut = *view.outer;
  if (view.offsets) {
    state.colr = (*view.offsets)[0];
    state.colg = (*view.offsets)[1];
    state.colb = (*view.offsets)[2];
  }
}

ViewRequest drawnView(const ViewRequest& asked, const ExplorerState& prepared,
                      const DialogValues& preparedDialogs) {
  ViewRequest drawn = asked;
  drawn.drawing = prepared.drawing;
  drawn.zoom = kept(asked.zoom, prepared.viewZoom);
  drawn.centre = keptPair(asked.centre, prepared.viewX, prepared.viewY);
  drawn.rotation = preparedDialogs.position.ct;
  drawn.components =
      keptPair(asked.components, preparedDialogs.dimension.numDx, preparedDialogs.dimension.numDy);
  drawn.depth = asked.depth > kMaxWindowDepth ? *asked.depth : prepared.iterDepth;
  drawn.escape = prepared.escapeValue;
  drawn.jitter = {prepared.jitterLow, prepared.jitterHigh};
  drawn.colourMode = prepared.colorMode;
  drawn.inner = prepared.renderIn;
  drawn.outer = prepared.renderOut;
  drawn.offsets = {prepared.colr, prepared.colg, prepared.colb};
  drawn.gridChoice = prepared.gridChoice == kLineMode ? std::int16_t{kLineMode} : prepared.gridSide;
  return drawn;
}

}  // namespace orvane
