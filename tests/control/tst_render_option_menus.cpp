// What choosing an option menu item stores, and the cell-order rebuilds.
#include <gtest/gtest.h>

#include <tuple>

#include "control/render_option_menus.h"
#include "engine/load_routine.h"

namespace orvane {
namespace {

enum Menu { kDepth, kEscape, kJitter, kColour, kGrid, kLine };

bool choose(Menu menu, int index, ExplorerState& state, DialogValues& dialogs) {
  if (menu == kLine) return chooseLineMode(state, dialogs), true;
  if (menu == kGrid) return chooseGrid(state, dialogs, index);
  bool (*const chooseIn[])(ExplorerState&, int) = {chooseDepth, chooseEscape, chooseJitter,
                                                   chooseColourMode};
  return chooseIn[menu](state, index);
}

// Depth, escape value, jitter range, colour mode, grid choice and the cells in the order.
using Options = std::tuple<int, int, float, float, int, int, std::size_t>;
Options options(const ExplorerState& s) {
  return {s.iterDepth, s.escapeValue, s.jitterLow,       s.jitterHigh,
          s.colorMode, s.gridChoice,  s.cellOrder.size()};
}

// Each item changes its own fields only; the load routine leaves zeros and a 12 x 12 order.
TEST(OptionMenus, StoreTheValueOfTheChosenItem) {
  const std::tuple<const char*, Menu, int, Options> rows[] = {
      {"depth 2048", kDepth, 8, {2048, 0, 0, 0, 0, 0, 144}},
      {"escape 100", kEscape, 3, {0, 100, 0, 0, 0, 0, 144}},
      {"jitter 33%-300%", kJitter, 5, {0, 0, 0.33f, 3, 0, 0, 144}},  // nearest floats
      {"grey", kColour, 2, {0, 0, 0, 0, 2, 0, 144}},
      {"16 x 16", kGrid, 4, {0, 0, 0, 0, 0, 16, 256}},
      {"32 x 32", kGrid, 7, {0, 0, 0, 0, 0, 32, 1024}},
      {"line mode", kLine, 0, {0, 0, 0, 0, 0, 1, 1}},
  };
  for (const auto& [name, menu, index, expected] : rows) {
    ExplorerState state;
    DialogValues dialogs;
    formLoad(state, dialogs);
    dialogs.rendering.dcin = 2;  // a rebuild is no first load: the levels stay
    EXPECT_TRUE(choose(menu, index, state, dialogs)) << name;
    EXPECT_EQ(options(state), expected) << name;
    EXPECT_EQ(dialogs.rendering.dcin, 2) << name;
  }
}

TEST(OptionMenus, AnIndexOutsideTheTableChangesNothing) {
  ExplorerState state;
  DialogValues dialogs;
  formLoad(state, dialogs);
  for (Menu menu : {kDepth, kEscape, kJitter, kColour, kGrid})
    for (int index : {0, -1, 9, 32767}) EXPECT_FALSE(choose(menu, index, state, dialogs));
  EXPECT_EQ(options(state), Options(0, 0, 0, 0, 0, 0, 144));
}

}  // namespace
}  // namespace orvane
