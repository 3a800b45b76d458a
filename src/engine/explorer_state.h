// The explorer state: everything the render pass draws from, and the dialog values it reads.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/random_sequence.h"

namespace orvane {

// Values of `drawing`, the formula kind.
namespace formula {
inline constexpr std::int16_t kNone = 0;               // read as Mandelbrot
inline constexpr std::int16_t kMandelbrot = 1;         // z <- z^2 + c, c = the point
inline constexpr std::int16_t kJulia = 2;              // z <- z^2 + c, z0 = the point
inline constexpr std::int16_t kPendingMandelbrot = 3;  // Julia -> Mandelbrot, not yet confirmed
inline constexpr std::int16_t kPendingJulia = 4;       // Mandelbrot -> Julia, not yet confirmed
inline constexpr std::int16_t kHole = 5;               // z <- sqrt(z) + c

// The kinds a pass draws; a pending switch draws nothing.
constexpr bool isDrawn(std::int16_t drawing) {
  return drawing == kMandelbrot || drawing == kJulia || drawing == kHole;
}
}  // namespace formula

// Values of `colorMode`.
namespace colour_mode {
inline constexpr std::int16_t kTwoColour = 1;
inline constexpr std::int16_t kGrey = 2;
inline constexpr std::int16_t kRgb = 3;
}  // namespace colour_mode

// Flags are 16-bit integers with -1 for true, as `busy` is.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// The picture the pass draws into, and the plane on it: the view's centre is the picture's
// centre pixel, and at magnification 1 one unit of the plane is 100 pixels.
inline constexpr int kPictureWidth = 400;
inline constexpr int kPictureHeight = 300;
inline constexpr int kPictureCentreX = kPictureWidth / 2;
inline constexpr int kPictureCentreY = kPictureHeight / 2;
inline constexpr int kPixelsPerUnit = 100;
inline constexpr int kLineMode = 1;  // `gridChoice` for line mode: a grid of side 1
inline constexpr int kDefaultGridSide = 12;
inline constexpr int kMaxGridSide = 32;

// Public values of the position dialog `Dialog`; they outlive its window.
struct PositionValues {
  double numzoom = 0;    // magnification; 0 reads as 1
  double numx = 0;       // centre, real part
  double numy = 0;       // centre, imaginary part
  std::int16_t ct = 0;   // rotation, whole degrees
  std::int16_t roo = 0;  // rotation by mouse: 1 on, 0 off
  // No copy of the magnification box's text: the pass would write it, but `lie` and the
  // mouse release fill the box again before it is ever shown.
};

// Public values of the dimension components dialog `DialogD`.
struct DimensionValues {
  double numDx = 0;  // third component: Mandelbrot z0 (real), Julia constant (real)
  double numDy = 0;  // fourth component: imaginary parts of the same
  bool ok = false;   // false right after the dialog's OK
};

// Public values of the rendering dialog `DialogC`, with its two slider positions.
struct RenderingValues {
  std::int16_t sldIn = 0;
  std::int16_t sldOut = 0;
  std::int16_t dcin = 0;   // inner rendering level, 0 to 10
  std::int16_t dcout = 0;  // outer rendering level, 0 to 10
};

// The dialogs' public values together: the channel between the dialogs and the main window.
struct DialogValues {
  PositionValues position;
  DimensionValues dimension;
  RenderingValues rendering;
};

// The mouse selection on the picture: press point, pointer, the frame's corners as last drawn
// and its turn. Positions are picture pixels. Corner k is at index k - 1; corners 1 and 3 lie
// on the side that becomes the top of the next picture.
struct DragSelection {
  std::int16_t dragActive = kFalse;  // -1 while a selection is in progress
  float dragX0 = 0;                  // press point: the centre of the frame
  float dragY0 = 0;
  float dragX1 = 0;  // latest pointer; never equal to dragX0
  float dragY1 = 0;
  std::array<float, 4> cornerX{};
  std::array<float, 4> cornerY{};
  float dragTurn = 0;  // radians, -pi to +pi
};

// The main window's record. Every numeric field starts at 0, which means "not chosen yet":
// the load routine or the render pass puts the default in its place.
struct ExplorerState {
  std::int16_t drawing = 0;  // formula kind, see `formula`
  std::int16_t colr = 0;     // colour offsets added in 24-bit colour
  std::int16_t colg = 0;
  std::int16_t colb = 0;
  double viewZoom = 0;                  // magnification of the drawn view; 1 = 100 pixels per unit
  double viewX = 0;                     // view centre, real part
  double viewY = 0;                     // view centre, imaginary part
  double zoomDivisor = 0;               // pending zoom step; 0 reads as 1
  std::int16_t viewTurn = 0;            // rotation, whole degrees (copy of `ct`)
  std::int16_t gridChoice = 0;          // 0 none, 1 line mode, else the grid side chosen
  std::int16_t gridSide = 0;            // side N of the square-array grid
  std::int16_t gridCells = 0;           // N * N
  std::vector<std::int16_t> cellOrder;  // order in which the pass visits the cells
  // The working fields `cellRow`, `cellCol`, `cellIndex` are locals of the cell-order build
  // and of the pass: neither reads what the other left in them.
  std::int16_t renderIn = 0;   // inner rendering level (copy of `dcin`)
  std::int16_t renderOut = 0;  // outer rendering level (copy of `dcout`)
  DragSelection drag;          // the mouse selection of the next view
  std::int16_t iterDepth = 0;  // iteration depth; 0 reads as 64
  double constX = 0;           // Julia constant the Julia command proposes; the pass keeps
  double constY = 0;           // each point's c to itself and leaves these alone
  double dimX = 0;             // Mandelbrot start value z0 (copy of `numDx`, `numDy`)
  double dimY = 0;
  double carryX = 0;  // Julia constant kept across a switch to Mandelbrot
  double carryY = 0;
  double turnRad = 0;            // rotation used by the pixel mapping, radians
  std::int16_t escapeValue = 0;  // escape value; 0 reads as 4
  float jitterLow = 0;           // boundary jitter range; 0 reads as 1.0
  float jitterHigh = 0;
  std::int16_t colorMode = 0;  // see `colour_mode`; 0 reads as 24-bit colour
  std::int16_t busy = kFalse;  // continue flag: -1 while a pass may go on
  RandomSequence random;       // the program's one pseudo-random sequence
};

}  // namespace orvane
