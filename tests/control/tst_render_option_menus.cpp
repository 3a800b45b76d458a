// What choosing an option menu item stores, and the cell-order rebuilds.
#include <gtest/gtest.h>

#include "load_routine.h"
#include "render_option_menus.h"

namespace orvane {
namespace {

class OptionMenus : public testing::Test {
 protected:
  void SetUp() override { formLoad(state, dialogs); }

  ExplorerState state;
  DialogValues dialogs;
};

TEST_F(OptionMenus, StoreTheValueOfTheChosenRow) {
  EXPECT_TRUE(chooseDepth(state, 8));
  EXPECT_EQ(state.iterDepth, 2048);
  EXPECT_TRUE(chooseDepth(state, 1));
  EXPECT_EQ(state.iterDepth, 3);
  EXPECT_TRUE(chooseEscape(state, 3));
  EXPECT_EQ(state.escapeValue, 100);
  EXPECT_TRUE(chooseColourMode(state, 2));
  EXPECT_EQ(state.colorMode, colour_mode::kGrey);
  EXPECT_TRUE(chooseJitter(state, 5));
  EXPECT_EQ(state.jitterLow, 0.33f);  // the single-precision value nearest 0.33
  EXPECT_EQ(state.jitterHigh, 3.0f);
  EXPECT_TRUE(chooseJitter(state, 2));
  EXPECT_EQ(state.jitterLow, 0.9f);
  EXPECT_EQ(state.jitterHigh, 1.11f);
}

TEST_F(OptionMenus, TickedAtStartIsWhatTheReadersUseForZero) {
  EXPECT_EQ(kDepthItems[kDepthTickedAtStart - 1].iterDepth, 64);
  EXPECT_EQ(kEscapeItems[kEscapeTickedAtStart - 1].escapeValue, 4);
  EXPECT_EQ(kJitterItems[kJitterTickedAtStart - 1].jitterLow, 1.0f);
  EXPECT_EQ(kColourModeItems[kColourModeTickedAtStart - 1].colorMode, colour_mode::kRgb);
  EXPECT_EQ(kGridItems[kGridTickedAtStart - 1].gridChoice, kDefaultGridSide);
}

TEST_F(OptionMenus, AnIndexOutsideTheTableChangesNothing) {
  const std::int16_t depth = state.iterDepth;
  for (int index : {0, -1, 9, 32767}) {
    EXPECT_FALSE(chooseDepth(state, index));
    EXPECT_FALSE(chooseEscape(state, index));
    EXPECT_FALSE(chooseJitter(state, index));
    EXPECT_FALSE(chooseColourMode(state, index));
    EXPECT_FALSE(chooseGrid(state, dialogs, index));
  }
  EXPECT_EQ(state.iterDepth, depth);
  EXPECT_EQ(state.jitterLow, 0.0f);
  EXPECT_EQ(state.gridCells, 144);
}

TEST_F(OptionMenus, LineModeAndGridSizesRebuildTheCellOrderAtOnce) {
  chooseLineMode(state, dialogs);
  EXPECT_EQ(state.gridChoice, kLineMode);
  EXPECT_EQ(state.gridCells, 1);
  EXPECT_EQ(state.cellOrder.size(), 1u);
  ASSERT_TRUE(chooseGrid(state, dialogs, 4));
  EXPECT_EQ(state.gridChoice, 16);
  EXPECT_EQ(state.gridSide, 16);
  EXPECT_EQ(state.gridCells, 256);
  EXPECT_EQ(state.cellOrder.size(), 256u);
  ASSERT_TRUE(chooseGrid(state, dialogs, 7));
  EXPECT_EQ(state.gridCells, 1024);
}

TEST_F(OptionMenus, RebuildsLeaveTheFirstLoadDefaultsAlone) {
  dialogs.rendering.dcin = 2;
  dialogs.position.roo = 0;
  chooseLineMode(state, dialogs);
  chooseGrid(state, dialogs, 1);
  EXPECT_EQ(dialogs.rendering.dcin, 2);
  EXPECT_EQ(dialogs.position.roo, 0);
}

}  // namespace
}  // namespace orvane
