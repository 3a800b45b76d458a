// The render pass: its preparation and defaults, the pictures it draws against a plain
// point-by-point evaluation, the drawing order, and what handlers running inside its yields
// can do to it (stop, restart, close, change settings, rebuild the cell order).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "load_routine.h"
#include "memory_surface.h"
#include "pass_plan.h"
#include "point_iteration.h"
#include "render_pass.h"

namespace orvane {
namespace {

// Remembers every pixel set and every pointer shape, in order.
class RecordingSurface : public MemorySurface {
 public:
  RecordingSurface() : MemorySurface(kPictureWidth, kPictureHeight, 0x123456) {}

  void setPixel(int x, int y, Colour colour) override {
    drawn.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    MemorySurface::setPixel(x, y, colour);
  }
  void setPointer(Pointer pointer) override {
    pointers.push_back(pointer);
    MemorySurface::setPointer(pointer);
  }

  std::vector<Pixel> drawn;
  std::vector<Pointer> pointers;
};

// The main window as far as the pass sees it: the state after its load routine, the dialogs'
// values, a picture and an event loop whose turns run `onYield` with their number (turn 1 is
// the one in the preparation).
class Window {
 public:
  explicit Window(std::int16_t gridChoice = 0) {
    state.gridChoice = gridChoice;
    formLoad(state, dialogs);
  }

  ExplorerState state;
  DialogValues dialogs;
  RecordingSurface surface;
  std::function<void(int)> onYield;
  int yields = 0;
  int yieldDepth = 0;
  int deepestYield = 0;
  RenderPass pass{state, dialogs, surface, [this] {
                    ++yields;
                    deepestYield = std::max(deepestYield, ++yieldDepth);
                    if (onYield) onYield(yields);
                    --yieldDepth;
                  }};

  // Runs the preparation only: the pass is closed at its first yield.
  void prepare() {
    onYield = [this](int) { pass.close(); };
    pass.drawings();
  }
};

// --- A plain evaluation of one point, formula by formula, as a reference for the pass ---

PointResult referencePoint(const PointSettings& s, int x, int y) {
  const double u = y - 150;
  const double v = x - 200;
  const double cosT = std::cos(s.turnRad);
  const double sinT = std::sin(s.turnRad);
  const double re = ((u * cosT + v * sinT) / 100) / s.viewZoom + s.viewX;
  const double im = ((u * sinT - v * cosT) / 100) / s.viewZoom + s.viewY;
  const int depth = s.iterDepth;
  const double escape = s.escapeValue;
  if (s.formula == formula::kHole) {
    double zx = 0.0625, zy = 0.0625;
    double q2 = zx * zx, p2 = zy * zy, sum = zx * zx + zy * zy;
    for (int n = 0;; ++n) {
      const double m = sum;
      const double root = std::sqrt((std::sqrt(p2 + q2) - zx) / 2);
      const double nextX = zy / 2 / root + re;
      const double nextY = root + im;
      zx = nextX;
      zy = nextY;
      q2 = zx * zx;
      p2 = zy * zy;
      sum = p2 + q2;
      if (n == depth) return {n, true, m, sum};
      if (!(sum <= escape / 64)) return {n, false, m, sum};
    }
  }
  const bool julia = s.formula == formula::kJulia;
  double a = julia ? re : s.dimX;
  double b = julia ? im : s.dimY;
  const double cRe = julia ? s.juliaX : re;
  const double cIm = julia ? s.juliaY : im;
  double sqA = a * a, sqB = b * b;
  for (int n = 0;; ++n) {
    const double m = sqA + sqB;
    const double nextB = 2 * b * a + cIm;
    const double nextA = sqA - sqB + cRe;
    a = nextA;
    b = nextB;
    sqA = a * a;
    sqB = b * b;
    const double q = sqA + sqB;
    // Jitter (1, 1): the threshold is the escape value; q is compared as a 32-bit float.
    const bool escaped = !(static_cast<double>(static_cast<float>(q)) <= escape);
    if (n == depth || escaped) return {n, n == depth, m, q};
  }
}

// The whole picture for the settings a pass has prepared (jitter off).
std::vector<Colour> referencePicture(const ExplorerState& state, const DialogValues& dialogs) {
  const PointSettings s = capturePointSettings(state, dialogs, state.drawing);
  const ColourSetup colours = prepareColourSetup(s, s.iterDepth);
  std::vector<Colour> picture(kPictureWidth * kPictureHeight);
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x)
      picture[static_cast<std::size_t>(y * kPictureWidth + x)] =
          colourOf(colours, referencePoint(s, x, y));
  return picture;
}

Colour at(const std::vector<Colour>& picture, Pixel p) {
  return picture[static_cast<std::size_t>(p.y * kPictureWidth + p.x)];
}

bool samePixels(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](Pixel p, Pixel q) { return p.x == q.x && p.y == q.y; });
}

std::vector<Pixel> firstPixels(std::vector<Pixel> pixels, std::size_t count) {
  pixels.resize(count);
  return pixels;
}

// --- Preparation ---

TEST(Preparation, PendingZoomStepJoinsThePositionValues) {
  struct Row {
    double numzoom, divisor, zoom;
    const char* text;
  };
  for (const Row& row :
       {Row{8, 2, 4, "4"}, Row{3, 0.25, 12, "12"}, Row{0, 0, 1, "1"},
        Row{1, 3, 1.0 / 3, "0.333333333333333"}, Row{0, 256, 1.0 / 256, "0.00390625"}}) {
    SCOPED_TRACE(row.text);
    Window w;
    w.dialogs.position.numzoom = row.numzoom;
    w.state.zoomDivisor = row.divisor;
    w.prepare();
    EXPECT_EQ(w.state.viewZoom, row.zoom);
    EXPECT_EQ(w.dialogs.position.numzoom, row.zoom);
    EXPECT_EQ(w.state.zoomDivisor, 1);
    EXPECT_EQ(w.dialogs.position.txtZoom, row.text);
  }
}

TEST(Preparation, ColourOffsetsAbove255ResetAllThree) {
  struct Row {
    std::int16_t r, g, b, expectR, expectG, expectB;
  };
  for (const Row& row : {Row{255, 255, 255, 255, 255, 255}, Row{-300, 0, 17, -300, 0, 17},
                         Row{256, 0, 0, 160, 64, 192}, Row{0, 256, 0, 160, 64, 192},
                         Row{1, 2, 30000, 160, 64, 192}}) {
    SCOPED_TRACE(testing::Message() << row.r << "," << row.g << "," << row.b);
    Window w;
    w.state.colr = row.r;
    w.state.colg = row.g;
    w.state.colb = row.b;
    w.prepare();
    EXPECT_EQ(w.state.colr, row.expectR);
    EXPECT_EQ(w.state.colg, row.expectG);
    EXPECT_EQ(w.state.colb, row.expectB);
  }
}

TEST(Preparation, ZeroMeansDefault) {
  Window w;
  w.state.jitterLow = 0;
  w.state.jitterHigh = 2.0f;
  w.prepare();
  EXPECT_EQ(w.state.drawing, formula::kMandelbrot);
  EXPECT_EQ(w.state.iterDepth, 64);
  EXPECT_EQ(w.state.escapeValue, 4);
  EXPECT_EQ(w.state.colorMode, colour_mode::kRgb);
  EXPECT_EQ(w.state.jitterLow, 1.0f);
  EXPECT_EQ(w.state.jitterHigh, 1.0f);
  EXPECT_EQ(w.state.busy, kTrue);

  Window high;
  high.state.jitterLow = 0.5f;
  high.state.jitterHigh = 0;
  high.prepare();
  EXPECT_EQ(high.state.jitterLow, 1.0f);
  EXPECT_EQ(high.state.jitterHigh, 1.0f);

  Window chosen;
  chosen.state.jitterLow = 0.33f;
  chosen.state.jitterHigh = 3.0f;
  chosen.state.iterDepth = 3;
  chosen.state.escapeValue = 100;
  chosen.state.colorMode = colour_mode::kGrey;
  chosen.prepare();
  EXPECT_EQ(chosen.state.jitterLow, 0.33f);
  EXPECT_EQ(chosen.state.jitterHigh, 3.0f);
  EXPECT_EQ(chosen.state.iterDepth, 3);
  EXPECT_EQ(chosen.state.escapeValue, 100);
  EXPECT_EQ(chosen.state.colorMode, colour_mode::kGrey);
}

TEST(Preparation, CopiesTheDialogValues) {
  Window w;
  w.state.drawing = formula::kJulia;
  w.dialogs.position = {2.5, 0.75, -0.25, -30, 1, ""};
  w.dialogs.dimension.numDx = 0.1;
  w.dialogs.dimension.numDy = -0.2;
  w.dialogs.rendering.dcin = 3;
  w.dialogs.rendering.dcout = 8;
  w.prepare();
  EXPECT_EQ(w.state.viewX, 0.75);
  EXPECT_EQ(w.state.viewY, -0.25);
  EXPECT_EQ(w.state.viewZoom, 2.5);
  EXPECT_EQ(w.state.viewTurn, -30);
  EXPECT_EQ(w.state.dimX, 0.1);
  EXPECT_EQ(w.state.dimY, -0.2);
  EXPECT_EQ(w.state.renderIn, 3);
  EXPECT_EQ(w.state.renderOut, 8);
}

TEST(Preparation, MandelbrotHomeViewMovesToMinusHalf) {
  Window w;  // magnification 1 after the load routine, centre (0, 0)
  w.prepare();
  EXPECT_EQ(w.state.drawing, formula::kMandelbrot);
  EXPECT_EQ(w.state.viewX, -0.5);
  EXPECT_EQ(w.dialogs.position.numx, -0.5);
  EXPECT_EQ(w.state.viewY, 0);
  EXPECT_EQ(w.state.viewZoom, 1);

  // The test looks at the magnification of the previous pass, not at the one being set up.
  Window zoomedBefore;
  zoomedBefore.state.viewZoom = 2;
  zoomedBefore.prepare();
  EXPECT_EQ(zoomedBefore.state.viewX, 0);
  EXPECT_EQ(zoomedBefore.dialogs.position.numx, 0);
  EXPECT_EQ(zoomedBefore.state.viewZoom, 1);

  Window zoomingNow;
  zoomingNow.dialogs.position.numzoom = 3;
  zoomingNow.prepare();
  EXPECT_EQ(zoomingNow.state.viewX, -0.5);
  EXPECT_EQ(zoomingNow.state.viewZoom, 3);

  for (const std::int16_t other : {formula::kJulia, formula::kHole}) {
    Window julia;
    julia.state.drawing = other;
    julia.prepare();
    EXPECT_EQ(julia.state.viewX, 0);
    EXPECT_EQ(julia.dialogs.position.numx, 0);
  }
}

TEST(Preparation, NoMagnificationYetGivesTheFormulasHomeCentre) {
  struct Row {
    std::int16_t drawing;
    double x;
  };
  for (const Row& row : {Row{formula::kMandelbrot, -0.5}, Row{formula::kJulia, 0},
                         Row{formula::kHole, 0}, Row{formula::kNone, -0.5}}) {
    SCOPED_TRACE(row.drawing);
    Window w;
    w.state.viewZoom = 0;
    w.state.drawing = row.drawing;
    w.dialogs.position.numx = 3;
    w.dialogs.position.numy = 2;
    w.prepare();
    EXPECT_EQ(w.state.viewX, row.x);
    EXPECT_EQ(w.state.viewY, 0);
    EXPECT_EQ(w.state.viewZoom, 1);
  }
}

// --- Whole passes ---

TEST(Pass, DefaultStartDrawsTheHomeMandelbrot) {
  Window w;
  const std::vector<std::int16_t> order = w.state.cellOrder;
  w.pass.drawings();
  EXPECT_EQ(w.state.drawing, formula::kMandelbrot);
  EXPECT_EQ(w.state.viewX, -0.5);
  EXPECT_EQ(w.state.viewZoom, 1);
  EXPECT_EQ(w.state.iterDepth, 64);
  EXPECT_EQ(w.state.gridSide, 12);
  EXPECT_EQ(w.surface.pixels(), referencePicture(w.state, w.dialogs));
  // End of the pass: ready for the drag frame; the order is kept for the next pass.
  EXPECT_EQ(w.state.busy, kTrue);
  EXPECT_EQ(w.surface.pointer(), Pointer::crosshair);
  EXPECT_EQ(w.surface.penMode(), PenMode::invert);
  EXPECT_TRUE(w.surface.retained());
  EXPECT_EQ(w.surface.pointers, (std::vector<Pointer>{Pointer::hourglass, Pointer::crosshair}));
  EXPECT_EQ(w.state.cellOrder, order);
  EXPECT_FALSE(w.pass.running());
  EXPECT_EQ(w.pass.statistics().pixels, 120000u);
}

struct PictureRow {
  const char* name;
  std::function<void(Window&)> setUp;
};

class Pictures : public testing::TestWithParam<PictureRow> {};

TEST_P(Pictures, EqualThePlainEvaluation) {
  Window w;
  GetParam().setUp(w);
  w.pass.drawings();
  ASSERT_EQ(w.surface.drawn.size(), 120000u);
  const std::vector<Colour> expected = referencePicture(w.state, w.dialogs);
  std::size_t differing = 0;
  for (std::size_t i = 0; i < expected.size(); ++i)
    differing += expected[i] != w.surface.pixels()[i];
  EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Views, Pictures,
    testing::Values(PictureRow{"juliaGreyTurned",
                               [](Window& w) {
                                 w.state.drawing = formula::kJulia;
                                 w.dialogs.dimension = {-0.8, 0.156, false};
                                 w.dialogs.position = {1.5, 0.1, -0.05, 30, 1, ""};
                                 w.state.colorMode = colour_mode::kGrey;
                                 w.state.iterDepth = 128;
                               }},
                    PictureRow{"holeColourTurnedBack",
                               [](Window& w) {
                                 w.state.drawing = formula::kHole;
                                 w.dialogs.position = {4, -0.05, 0.02, -45, 1, ""};
                                 w.state.colr = 160;
                                 w.state.colg = 64;
                                 w.state.colb = 192;
                               }},
                    PictureRow{"mandelbrotStartValueTwoColour",
                               [](Window& w) {
                                 w.dialogs.dimension = {0.1, -0.1, false};
                                 w.state.colorMode = colour_mode::kTwoColour;
                                 w.state.iterDepth = 16;
                                 w.state.escapeValue = 100;
                               }},
                    PictureRow{"mandelbrotDeepZoomLevels",
                               [](Window& w) {
                                 w.dialogs.position = {250, -0.7453, 0.1127, 12, 1, ""};
                                 w.dialogs.rendering.dcin = 10;
                                 w.dialogs.rendering.dcout = 1;
                                 w.state.iterDepth = 256;
                                 w.state.escapeValue = 16;
                               }},
                    PictureRow{"lineModeQuarterTurn",
                               [](Window& w) {
                                 w.state.gridChoice = kLineMode;
                                 formLoad(w.state, w.dialogs);
                                 w.dialogs.position.ct = 90;
                                 w.state.iterDepth = 3;
                               }}),
    [](const testing::TestParamInfo<PictureRow>& row) { return std::string(row.param.name); });

TEST(Pass, PendingFormulaChangeDrawsNothing) {
  for (const std::int16_t drawing :
       {formula::kPendingMandelbrot, formula::kPendingJulia, std::int16_t{7}}) {
    SCOPED_TRACE(drawing);
    Window w;
    w.state.drawing = drawing;
    w.pass.drawings();
    EXPECT_TRUE(w.surface.drawn.empty());
    EXPECT_TRUE(std::all_of(w.surface.pixels().begin(), w.surface.pixels().end(),
                            [](Colour c) { return c == 0x123456; }));
    EXPECT_EQ(w.surface.pointer(), Pointer::crosshair);
    EXPECT_EQ(w.surface.penMode(), PenMode::invert);
    EXPECT_EQ(w.state.busy, kTrue);
    EXPECT_EQ(w.state.drawing, drawing);
  }
}

TEST(Pass, StopBeforeThePassHasNoEffect) {
  Window w;
  w.state.busy = kFalse;
  w.pass.drawings();
  EXPECT_EQ(w.surface.drawn.size(), 120000u);
  EXPECT_EQ(w.state.busy, kTrue);
}

TEST(Order, LineModeDrawsRowByRowFromTheTop) {
  Window w(kLineMode);
  w.state.iterDepth = 3;
  w.pass.drawings();
  ASSERT_EQ(w.surface.drawn.size(), 120000u);
  for (std::size_t i = 0; i < w.surface.drawn.size(); ++i) {
    ASSERT_EQ(w.surface.drawn[i].x, static_cast<int>(i % 400));
    ASSERT_EQ(w.surface.drawn[i].y, static_cast<int>(i / 400));
  }
  EXPECT_EQ(w.yields, 1 + 300 + 1);  // preparation, every row, the one cell
}

TEST(Order, SquareArrayDrawsCellZeroFirstThenTheOrder) {
  for (const std::int16_t grid : {0, 8, 25, 32}) {
    SCOPED_TRACE(grid);
    Window w(grid);
    w.state.iterDepth = 3;
    w.pass.drawings();
    const int side = w.state.gridSide;
    // Cell 0: rows 0, N, 2N, ... and columns 0, N, 2N, ..., each row left to right.
    const CellShape first = cellShape(0, side);
    for (int i = 0; i < first.rows * first.columns; ++i) {
      ASSERT_EQ(w.surface.drawn[static_cast<std::size_t>(i)].x, (i % first.columns) * side);
      ASSERT_EQ(w.surface.drawn[static_cast<std::size_t>(i)].y, (i / first.columns) * side);
    }
    EXPECT_TRUE(samePixels(w.surface.drawn, passPixels(w.state.cellOrder, side)));
    EXPECT_EQ(w.yields, 1 + w.state.gridCells);  // preparation, every cell
  }
}

TEST(Order, OrdersTheLoadRoutineDidNotBuild) {
  // Before any load routine there is no order: the picture is drawn row by row.
  ExplorerState state;
  DialogValues dialogs;
  RecordingSurface surface;
  RenderPass(state, dialogs, surface, {}).drawings();
  EXPECT_TRUE(samePixels(surface.drawn, passPixels({0}, 1)));

  // Numbers that are no cells of the grid are passed over, never read outside the grid.
  Window w(2);
  w.state.cellOrder = {3, 4, -1, 0, 2, 1, 1000};
  w.pass.drawings();
  EXPECT_TRUE(samePixels(w.surface.drawn, passPixels({3, 0, 2, 1}, 2)));
  EXPECT_EQ(w.surface.drawn.size(), 120000u);
}

// --- Handlers inside the yields ---

struct StopRow {
  const char* name;
  std::int16_t gridChoice;
  int stopAt;  // the yield in which Stop is given
};

class Stop : public testing::TestWithParam<StopRow> {};

// Pixels drawn when Stop comes in yield k: in line mode the yields follow the preparation and
// each row, so one more row is drawn; in square-array mode they follow the preparation and
// each cell, so the first row of the next cell is drawn.
std::size_t pixelsBeforeStopTakesEffect(const StopRow& row, const ExplorerState& state) {
  const int side = state.gridSide;
  if (row.gridChoice == kLineMode) return std::min(row.stopAt, 300) * 400u;
  std::size_t count = 0;
  for (int cell = 0; cell < state.gridCells; ++cell) {
    const CellShape shape = cellShape(state.cellOrder[static_cast<std::size_t>(cell)], side);
    if (cell == row.stopAt - 1) return count + static_cast<std::size_t>(shape.columns);
    count += static_cast<std::size_t>(shape.rows * shape.columns);
  }
  return count;
}

TEST_P(Stop, TakesEffectAtTheNextRowEnd) {
  const StopRow& row = GetParam();
  Window w(row.gridChoice);
  w.state.iterDepth = 16;
  w.onYield = [&](int k) {
    if (k == row.stopAt) w.state.busy = kFalse;
  };
  w.pass.drawings();

  const std::vector<Pixel> order = passPixels(w.state.cellOrder, w.state.gridSide);
  const std::size_t expected = pixelsBeforeStopTakesEffect(row, w.state);
  EXPECT_EQ(w.surface.drawn.size(), expected);
  EXPECT_TRUE(samePixels(w.surface.drawn, firstPixels(order, expected)));
  EXPECT_EQ(w.state.busy, kTrue);
  EXPECT_EQ(w.surface.pointer(), Pointer::crosshair);
  EXPECT_EQ(w.surface.penMode(), PenMode::invert);
  EXPECT_FALSE(w.pass.running());

  // What was drawn stays; the next pass starts again with the first cell.
  const std::vector<Colour> stopped = w.surface.pixels();
  const std::vector<Colour> reference = referencePicture(w.state, w.dialogs);
  for (std::size_t i = 0; i < expected; ++i)
    ASSERT_EQ(w.surface.pixel(order[i].x, order[i].y), at(reference, order[i]));
  w.surface.drawn.clear();
  w.onYield = nullptr;
  w.pass.drawings();
  EXPECT_TRUE(samePixels(w.surface.drawn, order));
}

INSTANTIATE_TEST_SUITE_P(
    Yields, Stop,
    testing::Values(StopRow{"linePreparation", kLineMode, 1}, StopRow{"lineFirstRow", kLineMode, 2},
                    StopRow{"lineMiddle", kLineMode, 151}, StopRow{"lineLastRow", kLineMode, 300},
                    StopRow{"lineAfterLastRow", kLineMode, 301},
                    StopRow{"lineAfterCell", kLineMode, 302}, StopRow{"gridPreparation", 0, 1},
                    StopRow{"gridFirstCell", 0, 2}, StopRow{"gridMiddle", 0, 77},
                    StopRow{"gridLastButOne", 0, 144}, StopRow{"gridAfterLastCell", 0, 145},
                    StopRow{"grid32", 32, 3}, StopRow{"grid25", 25, 600}),
    [](const testing::TestParamInfo<StopRow>& row) { return std::string(row.param.name); });

TEST(Restart, StartInsideAYieldRunsOneFreshPass) {
  for (const int restartAt : {1, 2, 60, 145}) {
    SCOPED_TRACE(restartAt);
    Window w;
    std::size_t drawnBefore = 0;
    bool runningInside = false;
    w.onYield = [&](int k) {
      if (k != restartAt) return;
      w.dialogs.position.numzoom = 2;
      w.state.colorMode = colour_mode::kGrey;
      drawnBefore = w.surface.drawn.size();
      runningInside = w.pass.running();
      w.pass.drawings();  // returns at once: the running pass hands over at this yield
      EXPECT_EQ(w.surface.drawn.size(), drawnBefore);
    };
    w.pass.drawings();
    EXPECT_TRUE(runningInside);
    EXPECT_FALSE(w.pass.running());
    EXPECT_EQ(w.deepestYield, 1);  // no pass ran inside another

    Window clean;
    clean.dialogs.position.numzoom = 2;
    clean.state.colorMode = colour_mode::kGrey;
    clean.pass.drawings();
    EXPECT_EQ(w.surface.pixels(), clean.surface.pixels());
    EXPECT_EQ(w.state.viewZoom, 2);
    EXPECT_EQ(w.dialogs.position.txtZoom, "2");

    // The fresh pass drew the whole picture once after the hand-over, with its own preparation.
    const std::vector<Pixel> after(
        w.surface.drawn.begin() + static_cast<std::ptrdiff_t>(drawnBefore), w.surface.drawn.end());
    EXPECT_TRUE(samePixels(after, passPixels(w.state.cellOrder, w.state.gridSide)));
    EXPECT_EQ(std::count(w.surface.pointers.begin(), w.surface.pointers.end(), Pointer::hourglass),
              2);
    EXPECT_EQ(w.surface.pointers.back(), Pointer::crosshair);
    EXPECT_EQ(w.state.busy, kTrue);
  }
}

TEST(Close, EndsThePassWithoutDrawingFurther) {
  for (const int closeAt : {1, 2, 100}) {
    SCOPED_TRACE(closeAt);
    Window w;
    std::size_t drawnAtClose = 0;
    w.onYield = [&](int k) {
      if (k != closeAt) return;
      drawnAtClose = w.surface.drawn.size();
      w.pass.close();
    };
    w.pass.drawings();
    EXPECT_EQ(w.surface.drawn.size(), drawnAtClose);
    EXPECT_EQ(w.yields, closeAt);
    EXPECT_FALSE(w.pass.running());

    w.pass.drawings();  // a closed window starts no pass
    EXPECT_EQ(w.surface.drawn.size(), drawnAtClose);
  }
}

struct ChangeRow {
  const char* name;
  std::int16_t gridChoice;
  int yieldAt;
  std::function<void(Window&)> change;  // a command run in that yield
  bool applies;                         // whether the pixels drawn after the yield show the change
};

class ChangeDuringPass : public testing::TestWithParam<ChangeRow> {};

// Pixels drawn before the yield keep the settings of the pass's start; the ones after show the
// changed fields that the pass reads for every point.
TEST_P(ChangeDuringPass, AppliesToThePixelsDrawnAfterIt) {
  const ChangeRow& row = GetParam();
  Window w(row.gridChoice);
  std::size_t boundary = 0;
  std::vector<Colour> before, after;
  w.onYield = [&](int k) {
    if (k != row.yieldAt) return;
    boundary = w.surface.drawn.size();
    before = referencePicture(w.state, w.dialogs);
    row.change(w);
    after = row.applies ? referencePicture(w.state, w.dialogs) : before;
  };
  w.pass.drawings();
  ASSERT_EQ(w.surface.drawn.size(), 120000u);
  ASSERT_GT(boundary, 0u);
  if (row.applies) {
    ASSERT_NE(before, after) << "the change should show in the picture";
  }
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < w.surface.drawn.size(); ++i) {
    const Pixel p = w.surface.drawn[i];
    wrong += w.surface.pixel(p.x, p.y) != at(i < boundary ? before : after, p);
  }
  EXPECT_EQ(wrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ChangeDuringPass,
    testing::Values(
        ChangeRow{"colourModeInLineMode", kLineMode, 41,
                  [](Window& w) { w.state.colorMode = colour_mode::kGrey; }, true},
        ChangeRow{"depthBetweenCells", 0, 30, [](Window& w) { w.state.iterDepth = 16; }, true},
        ChangeRow{"offsetsBetweenCells", 0, 2,
                  [](Window& w) {
                    w.state.colr = 10;
                    w.state.colb = -40;
                  },
                  true},
        ChangeRow{"renderingLevel", 0, 100, [](Window& w) { w.state.renderOut = 2; }, true},
        ChangeRow{"zoomStepColoursInside", 0, 50, [](Window& w) { w.state.zoomDivisor = 4; }, true},
        ChangeRow{"centreField", kLineMode, 200, [](Window& w) { w.state.viewY = 0.25; }, true},
        // The position dialog's values are copied at the start of a pass only.
        ChangeRow{"positionDialogWaits", 0, 20, [](Window& w) { w.dialogs.position.numy = 0.25; },
                  false},
        ChangeRow{"mandelbrotStartValueWaits", 0, 20,
                  [](Window& w) { w.dialogs.dimension.numDx = 0.3; }, false}),
    [](const testing::TestParamInfo<ChangeRow>& row) { return std::string(row.param.name); });

TEST(ChangeDuringPass, JuliaConstantIsReadForEveryPoint) {
  Window w;
  w.state.drawing = formula::kJulia;
  w.dialogs.dimension = {-0.8, 0.156, false};
  std::size_t boundary = 0;
  std::vector<Colour> before, after;
  w.onYield = [&](int k) {
    if (k != 73) return;
    boundary = w.surface.drawn.size();
    before = referencePicture(w.state, w.dialogs);
    w.dialogs.dimension = {0.285, 0.01, false};
    after = referencePicture(w.state, w.dialogs);
  };
  w.pass.drawings();
  ASSERT_NE(before, after);
  for (std::size_t i = 0; i < w.surface.drawn.size(); ++i) {
    const Pixel p = w.surface.drawn[i];
    ASSERT_EQ(w.surface.pixel(p.x, p.y), at(i < boundary ? before : after, p)) << i;
  }
}

// The jitter and the cell-order build share one sequence: the points draw their numbers in
// the order they are drawn, and a rebuild in a yield moves the numbers of the points after it.
TEST(ChangeDuringPass, JitterDrawsOnAfterARebuild) {
  Window w;
  w.state.jitterLow = 0.5f;
  w.state.jitterHigh = 2.0f;
  w.state.iterDepth = 32;
  const std::uint64_t start = w.state.random.position();
  std::uint64_t afterRebuild = 0;
  std::size_t boundary = 0;
  w.onYield = [&](int k) {
    if (k != 40) return;
    boundary = w.surface.drawn.size();
    formLoad(w.state, w.dialogs);
    afterRebuild = w.state.random.position();
  };
  w.pass.drawings();

  const PointSetup setup =
      preparePointSetup(capturePointSettings(w.state, w.dialogs, w.state.drawing));
  const ColourSetup colours = prepareColourSetup(setup.settings, setup.depth);
  const std::uint64_t stride = setup.randomStride();
  ASSERT_GT(afterRebuild, start + boundary * stride);
  for (std::size_t i = 0; i < w.surface.drawn.size(); ++i) {
    const Pixel p = w.surface.drawn[i];
    const std::uint64_t base =
        i < boundary ? start + i * stride : afterRebuild + (i - boundary) * stride;
    ASSERT_EQ(w.surface.pixel(p.x, p.y), colourOf(colours, iteratePixel(p.x, p.y, setup, base)))
        << i;
  }
}

TEST(ChangeDuringPass, CellOrderRebuiltInAYield) {
  struct Row {
    std::int16_t from, to;
    int yieldAt;
  };
  for (const Row& row :
       {Row{0, 8, 40}, Row{0, kLineMode, 2}, Row{kLineMode, 32, 150}, Row{32, 25, 1000}}) {
    SCOPED_TRACE(testing::Message() << row.from << " -> " << row.to);
    Window w(row.from);
    w.onYield = [&](int k) {
      if (k != row.yieldAt) return;
      w.state.gridChoice = row.to;
      formLoad(w.state, w.dialogs);
    };
    w.pass.drawings();
    std::vector<int> hits(kPictureWidth * kPictureHeight, 0);
    for (const Pixel p : w.surface.drawn) ++hits[static_cast<std::size_t>(p.y * 400 + p.x)];
    EXPECT_EQ(w.surface.drawn.size(), 120000u);
    EXPECT_TRUE(std::all_of(hits.begin(), hits.end(), [](int h) { return h == 1; }));
    EXPECT_EQ(w.surface.pixels(), referencePicture(w.state, w.dialogs));
    EXPECT_EQ(w.surface.pointer(), Pointer::crosshair);
  }
}

}  // namespace
}  // namespace orvane
