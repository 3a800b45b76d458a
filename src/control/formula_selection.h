// Formula selection: the Mandelbrot, Julia and Hole commands of the Scheme menu. The main
// window shows the dialogs between the steps here.
#pragma once

#include <string>

#include "engine/explorer_state.h"

namespace orvane {

// The texts of the dimension dialog's two boxes.
struct DimensionTexts {
  std::string dx;  // txtDx
  std::string dy;  // txtDy
};

// `Mandel`, steps 1 to 4: the components proposed for the dimension dialog. Leaving a Julia
// formula keeps its constant for the position dialog (`drawing` 3); coming from nothing or
// from Hole starts at the home view.
DimensionTexts mandelBeforeDialog(ExplorerState& state, DialogValues& dialogs);
// `Mandel`, step 6: components other than those proposed reset to the home view.
void mandelAfterDialog(ExplorerState& state, DialogValues& dialogs);

// `Julia`, steps 1 to 4: the constant proposed. From a Mandelbrot view without components it
// is the view's centre (`drawing` 4); from nothing or from Hole, 0.25 at the view (1.5, 0, 0).
DimensionTexts juliaBeforeDialog(ExplorerState& state, DialogValues& dialogs);
// `Julia`, step 6: a constant other than the one proposed resets the view to (1, 0, 0).
void juliaAfterDialog(ExplorerState& state, DialogValues& dialogs);

// `mnuHole_Click`, steps 1 and 2: the Hole formula, at the view (1, 0, 0) unless it is
// already the one drawn.
void chooseHole(ExplorerState& state, DialogValues& dialogs);

}  // namespace orvane
