// Formula selection: the transition table of `drawing`, the components proposed and the view
// the position dialog then shows.
#include <gtest/gtest.h>

#include "control/formula_selection.h"
#include "engine/load_routine.h"
#include "view_rows.h"

namespace orvane {
namespace {

enum Command { kMandel, kJulia, kHole, kLie };

// Runs a command as the window does; the dimension dialog is confirmed with the texts it
// showed, read back as its OK reads them, or left by Cancel. Returns the texts shown.
std::string run(Command command, ExplorerState& state, DialogValues& dialogs, bool confirm) {
  if (command == kHole) chooseHole(state, dialogs);
  if (command == kLie) prepareLie(state, dialogs.position);
  if (command == kHole || command == kLie) return "";
  const DimensionTexts shown =
      command == kMandel ? mandelBeforeDialog(state, dialogs) : juliaBeforeDialog(state, dialogs);
  if (confirm) dialogs.dimension = {std::stod(shown.dx), std::stod(shown.dy)};
  command == kMandel ? mandelAfterDialog(state, dialogs) : juliaAfterDialog(state, dialogs);
  return shown.dx + " " + shown.dy;
}

TEST(FormulaSelection, FollowsTheTransitionTableFromEveryState) {
  const std::int16_t table[6][4] = {
      // rows: `drawing` before; columns: Command
      {1, 2, 5, 1}, {1, 4, 5, 1}, {3, 2, 5, 2}, {3, 4, 5, 1}, {3, 4, 5, 2}, {1, 2, 5, 5}};
  for (std::int16_t before = 0; before < 6; ++before)
    for (Command command : {kMandel, kJulia, kHole, kLie}) {
      ExplorerState state;
      DialogValues dialogs;
      formLoad(state, dialogs);
      state.drawing = before;
      run(command, state, dialogs, false);
      EXPECT_EQ(state.drawing, table[before][command]) << before << ", command " << command;
    }
}

struct Scenario {
  const char* name;
  std::int16_t drawing;
  double zoom, x, y;  // the view before, as the position dialog's OK leaves it (0: none yet)
  double dimX, numDx, numDy;
  Command command;
  bool confirm;
  const char* shown;  // the components proposed
  double zoomAfter;   // the position dialog's magnification after the command
  const char* view;   // what the position dialog then shows
};

TEST(FormulaSelection, ProposesComponentsAndViews) {
  const double third = 1.0 / 3;  // shown with 15 digits, it reads back as another number
  const Scenario rows[] = {
      {"first Julia", 0, 0, 0, 0, 0, 0, 0, kJulia, true, "0.25 0", 1.5, "1.5 0 0 0"},
      {"first Mandelbrot", 0, 0, 0, 0, 0, 0, 0, kMandel, true, "0 0", 1, "1 -0.5 0 0"},
      {"Julia at the centre", 1, 4, 0.3, 0.2, 0, 0, 0, kJulia, true, "0.3 0.2", 4, "1 0 0 0"},
      {"Julia, components", 1, 4, -0.5, 0, 0.1, 0.1, 0, kJulia, true, "0.25 0", 4, "1 0 0 0"},
      {"Julia, more digits", 1, 4, third, 0, 0, 0, 0, kJulia, true, "0.333333333333333 0", 1,
       "1 0 0 0"},
      {"Julia again", 2, 2, 0.1, 0, 0, -0.8, 0.156, kJulia, true, "-0.8 0.156", 2, "2 0.1 0 0"},
      {"back to Mandelbrot", 2, 3, 0.1, 0.1, 0, -0.8, 0.156, kMandel, true, "0 0", 3,
       "1 -0.8 0.156 0"},
      // Cancel keeps the publics, which differ from the 0, 0 shown: the view is reset anyway.
      {"back, cancelled", 2, 3, 0.1, 0.1, 0, -0.8, 0, kMandel, false, "0 0", 1, "1 -0.8 0 0"},
      {"Hole", 1, 10, -0.2, -0.055, 0, 0, 0, kHole, true, "", 1, "1 0 0 0"},
      {"Hole again", 5, 10, -0.2, -0.055, 0, 0, 0, kHole, true, "", 10, "10 -0.2 -0.055 0"},
  };
  for (const Scenario& row : rows) {
    ExplorerState state;
    DialogValues dialogs;
    formLoad(state, dialogs);
    state.drawing = row.drawing;
    if (row.zoom != 0) setView(state, dialogs.position, row.zoom, row.x, row.y);
    state.dimX = row.dimX;
    dialogs.dimension = {row.numDx, row.numDy};
    EXPECT_EQ(run(row.command, state, dialogs, row.confirm), row.shown) << row.name;
    EXPECT_EQ(dialogs.position.numzoom, row.zoomAfter) << row.name;
    EXPECT_EQ(boxes(prepareLie(state, dialogs.position)), row.view) << row.name;
  }
}

}  // namespace
}  // namespace orvane
