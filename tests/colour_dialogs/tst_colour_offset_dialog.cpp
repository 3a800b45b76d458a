// The colour offset dialog: presets apply at once, "取消" restores the opening's offsets, a
// new opening applies the option last chosen, and custom offsets come from the boxes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "colour_dialogs/colour_offset_dialog.h"

namespace orvane {
namespace {

TEST(ColourOffsetDialog, PresetsCancelReopeningAndCustomOffsets) {
  ExplorerState state;
  ColourOffsetFields fields;
  const auto offsets = [&state] { return std::tuple(state.colr, state.colg, state.colb); };
  // Each opening loads a fresh window over the same offsets and fields.
  ColourOffsetDialog first(state, fields);  // the first opening applies and saves "草原"
  first.optMoveS[0]->click();
  EXPECT_EQ(offsets(), std::tuple(0, 240, 224));
  first.CancelButton->click();
  EXPECT_EQ(offsets(), std::tuple(160, 64, 192));
  ColourOffsetDialog custom(state, fields);  // the option chosen stays chosen: "火海" again
  EXPECT_EQ(offsets(), std::tuple(0, 240, 224));
  custom.optMoveS[3]->click();  // "自定义" keeps the offsets in force and opens the boxes
  custom.txtMoveRed->setText("300");
  custom.txtMoveBlue->setText("2.5");  // halves go to the even neighbour
  custom.OKButton->click();
  EXPECT_EQ(offsets(), std::tuple(300, 240, 2));
}

}  // namespace
}  // namespace orvane
