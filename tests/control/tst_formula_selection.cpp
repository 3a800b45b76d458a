// Formula selection: the transition table of `drawing`, the proposed components and views.
#include <gtest/gtest.h>

#include "formula_selection.h"
#include "load_routine.h"
#include "number_text.h"
#include "position_control.h"

namespace orvane {
namespace {

class FormulaSelection : public testing::Test {
 protected:
  void SetUp() override { formLoad(state, dialogs); }

  // A formula command with its dimension dialog left by "取消": nothing is read back.
  void mandelCancelled() {
    mandelBeforeDialog(state, dialogs);
    mandelAfterDialog(state, dialogs);
  }
  void juliaCancelled() {
    juliaBeforeDialog(state, dialogs);
    juliaAfterDialog(state, dialogs);
  }
  // The dialog's OK reads the boxes back as the user left them.
  void confirm(const DimensionTexts& texts) {
    dialogs.dimension.numDx = std::stod(texts.dx);
    dialogs.dimension.numDy = std::stod(texts.dy);
  }

  ExplorerState state;
  DialogValues dialogs;
};

struct Transition {
  std::int16_t before;
  std::int16_t mandel, julia, hole, lie;
};

TEST_F(FormulaSelection, FollowsTheTransitionTableFromEveryState) {
  const Transition table[] = {
      {0, 1, 2, 5, 1}, {1, 1, 4, 5, 1}, {2, 3, 2, 5, 2},
      {3, 3, 4, 5, 1}, {4, 3, 4, 5, 2}, {5, 1, 2, 5, 5},
  };
  for (const Transition& row : table) {
    SCOPED_TRACE(row.before);
    const auto from = [&] {
      ExplorerState fresh;
      DialogValues freshDialogs;
      formLoad(fresh, freshDialogs);
      fresh.drawing = row.before;
      state = fresh;
      dialogs = freshDialogs;
    };
    from();
    mandelCancelled();
    EXPECT_EQ(state.drawing, row.mandel);
    from();
    juliaCancelled();
    EXPECT_EQ(state.drawing, row.julia);
    from();
    chooseHole(state, dialogs);
    EXPECT_EQ(state.drawing, row.hole);
    from();
    prepareLie(state, dialogs.position);
    EXPECT_EQ(state.drawing, row.lie);
  }
}

TEST_F(FormulaSelection, FirstJuliaProposesAQuarterAtTheFirstEntryView) {
  const DimensionTexts texts = juliaBeforeDialog(state, dialogs);
  EXPECT_EQ(texts.dx, "0.25");
  EXPECT_EQ(texts.dy, "0");
  confirm(texts);
  juliaAfterDialog(state, dialogs);
  const PositionTexts view = prepareLie(state, dialogs.position);
  EXPECT_EQ(view.zoom, "1.5");
  EXPECT_EQ(view.x, "0");
  EXPECT_EQ(view.y, "0");
  EXPECT_EQ(view.round, "0");
  EXPECT_EQ(state.drawing, formula::kJulia);
}

TEST_F(FormulaSelection, FirstMandelbrotProposesNoComponentsAndTheHomeView) {
  const DimensionTexts texts = mandelBeforeDialog(state, dialogs);
  EXPECT_EQ(texts.dx, "0");
  EXPECT_EQ(texts.dy, "0");
  confirm(texts);
  mandelAfterDialog(state, dialogs);
  const PositionTexts view = prepareLie(state, dialogs.position);
  EXPECT_EQ(view.zoom, "1");
  EXPECT_EQ(view.x, "-0.5");
  EXPECT_EQ(view.y, "0");
}

TEST_F(FormulaSelection, JuliaFromAMandelbrotViewProposesItsCentreOrAQuarter) {
  setView(state, dialogs.position, 1, -0.5, 0);
  state.drawing = formula::kMandelbrot;
  EXPECT_EQ(juliaBeforeDialog(state, dialogs).dx, "-0.5");
  EXPECT_EQ(state.drawing, formula::kPendingJulia);

  state.drawing = formula::kMandelbrot;
  state.dimX = 0.1;
  EXPECT_EQ(juliaBeforeDialog(state, dialogs).dx, "0.25");
}

TEST_F(FormulaSelection, ConfirmingTheProposalKeepsTheViewUnlessItNeedsMoreDigits) {
  state.drawing = formula::kMandelbrot;
  setView(state, dialogs.position, 4, 0.3, 0.2);
  DimensionTexts texts = juliaBeforeDialog(state, dialogs);
  confirm(texts);
  juliaAfterDialog(state, dialogs);
  EXPECT_EQ(state.viewZoom, 4);  // 0.3, 0.2 read back exactly

  state.drawing = formula::kMandelbrot;
  setView(state, dialogs.position, 4, 1.0 / 3, 0);
  texts = juliaBeforeDialog(state, dialogs);
  EXPECT_EQ(texts.dx, "0.333333333333333");
  confirm(texts);
  juliaAfterDialog(state, dialogs);
  EXPECT_EQ(state.viewZoom, 1);  // read back as another number: the view is reset
  EXPECT_EQ(dialogs.position.numzoom, 1);
}

TEST_F(FormulaSelection, BackToMandelbrotProposesTheJuliaConstantAsCentre) {
  state.drawing = formula::kJulia;
  dialogs.dimension.numDx = -0.8;
  dialogs.dimension.numDy = 0.156;
  const DimensionTexts texts = mandelBeforeDialog(state, dialogs);
  EXPECT_EQ(texts.dx, "0");
  EXPECT_EQ(state.drawing, formula::kPendingMandelbrot);
  confirm(texts);
  mandelAfterDialog(state, dialogs);
  const PositionTexts view = prepareLie(state, dialogs.position);
  EXPECT_EQ(view.zoom, "1");
  EXPECT_EQ(view.x, "-0.8");
  EXPECT_EQ(view.y, "0.156");
  EXPECT_EQ(state.drawing, formula::kMandelbrot);
}

TEST_F(FormulaSelection, CancelAfterSwitchingStillResetsTheViewWhenThePublicsDiffer) {
  state.drawing = formula::kJulia;
  dialogs.dimension.numDx = -0.8;
  setView(state, dialogs.position, 3, 0.1, 0.1);
  mandelCancelled();  // 0, 0 was shown while the publics still hold the constant
  EXPECT_EQ(state.drawing, formula::kPendingMandelbrot);
  EXPECT_EQ(dialogs.position.numzoom, 1);
  EXPECT_EQ(dialogs.position.numx, -0.5);
}

TEST_F(FormulaSelection, HoleKeepsItsViewWhenChosenAgain) {
  chooseHole(state, dialogs);
  EXPECT_EQ(dialogs.position.numzoom, 1);
  EXPECT_EQ(dialogs.position.numx, 0);
  setView(state, dialogs.position, 10, -0.2, -0.055);
  chooseHole(state, dialogs);
  EXPECT_EQ(dialogs.position.numzoom, 10);
  EXPECT_EQ(state.viewX, -0.2);
}

TEST_F(FormulaSelection, SettingTheViewSetsBothThePublicsAndTheState) {
  dialogs.position.ct = 45;
  state.viewTurn = 45;
  setView(state, dialogs.position, 2, 0.5, -0.25);
  EXPECT_EQ(dialogs.position.numzoom, 2);
  EXPECT_EQ(dialogs.position.numy, -0.25);
  EXPECT_EQ(dialogs.position.ct, 0);
  EXPECT_EQ(state.viewZoom, 2);
  EXPECT_EQ(state.viewX, 0.5);
  EXPECT_EQ(state.viewTurn, 0);
}

}  // namespace
}  // namespace orvane
