// The render option menus: depth, escape value, boundary jitter, colour mode, drawing order.
#include "control/render_option_menus.h"

#include "engine/load_routine.h"

namespace orvane {

namespace {

// The row numbered `index` from 1, or nothing when there is none.
template <typename Item, std::size_t N>
const Item* row(const std::array<Item, N>& items, int index) {
  if (index < 1 || static_cast<std::size_t>(index) > N) return nullptr;
  return &items[static_cast<std::size_t>(index - 1)];
}

}  // namespace

bool chooseDepth(ExplorerState& state, int index) {
  const DepthItem* item = row(kDepthItems, index);
  if (item) state.iterDepth = item->iterDepth;
  return item != nullptr;
}

bool chooseEscape(ExplorerState& state, int index) {
  const EscapeItem* item = row(kEscapeItems, index);
  if (item) state.escapeValue = item->escapeValue;
  return item != nullptr;
}

bool chooseJitter(ExplorerState& state, int index) {
  const JitterItem* item = row(kJitterItems, index);
  if (item) {
    state.jitterLow = item->jitterLow;
    state.jitterHigh = item->jitterHigh;
  }
  return item != nullptr;
}

bool chooseColourMode(ExplorerState& state, int index) {
  const ColourModeItem* item = row(kColourModeItems, index);
  if (item) state.colorMode = item->colorMode;
  return item != nullptr;
}

bool chooseGrid(ExplorerState& state, DialogValues& dialogs, int index) {
  const GridItem* item = row(kGridItems, index);
  if (!item) return false;
  state.gridChoice = item->gridChoice;
  formLoad(state, dialogs);
  return true;
}

void chooseLineMode(ExplorerState& state, DialogValues& dialogs) {
  state.gridChoice = kLineMode;
  formLoad(state, dialogs);
}

}  // namespace orvane
