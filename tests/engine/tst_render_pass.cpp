// The render pass: its preparation, its pictures against the plain evaluation of each point,
// its order and yields, and what handlers inside its yields can do to it (stop, restart,
// close, change settings, rebuild the cell order).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "engine/pass_plan.h"
#include "engine/point_iteration.h"
#include "engine/render_pass.h"

namespace orvane {

bool operator==(Pixel a, Pixel b) {
  return a.x == b.x && a.y == b.y;
}

namespace {

using namespace formula;
using namespace colour_mode;

// The main window as far as the pass sees it: the state after its load routine, the dialogs'
// values, a picture that records what is drawn, and an event loop whose turns run `onYield`
// with their number (turn 1 is the preparation's).
class Window : public MemorySurface {
 public:
  explicit Window(std::int16_t grid = 0) : MemorySurface(kPictureWidth, kPictureHeight, 7) {
    state.gridChoice = grid;
    formLoad(state, dialogs);
  }
  void setPixel(int x, int y, Colour colour) override {
    drawn.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    MemorySurface::setPixel(x, y, colour);
  }

  // The pixels drawn since the last turn have the plain evaluation's colours for what the
  // pass read after that turn: the settings, and the random position the points draw on from.
  void checkDrawn() {
    for (; checked < drawn.size(); ++checked) {
      const Pixel p = drawn[checked];
      const PointResult point =
          iteratePixel(p.x, p.y, setup, base + checked * setup.randomStride());
      ASSERT_EQ(pixel(p.x, p.y), colourOf(prepareColourSetup(setup.settings, setup.depth), point))
          << "pixel " << checked;
    }
  }

  ExplorerState state;
  DialogValues dialogs;
  std::vector<Pixel> drawn;
  std::function<void(int)> onYield;
  int yields = 0;
  std::int16_t drawing = 0;  // the formula as the pass began
  PointSetup setup;
  std::uint64_t checked = 0, base = 0;  // pixels checked; random position of pixel 0
  RenderPass pass{state, dialogs, *this, [this] {
                    checkDrawn();
                    if (++yields == 1) drawing = state.drawing;
                    if (onYield) onYield(yields);
                    setup = preparePointSetup(capturePointSettings(state, dialogs, drawing));
                    base = state.random.position() - drawn.size() * setup.randomStride();
                  }};
};

TEST(Preparation, DefaultsZoomStepOffsetsAndHomeViews) {
  Window a, b, c, d;
  a.state.jitterHigh = 2, a.state.colr = 255;
  b.state.zoomDivisor = 2, b.state.colg = 256;
  b.dialogs.position.numzoom = 8, b.dialogs.rendering = {5, 5, 3, 8};
  c.state.viewZoom = 2;  // the Mandelbrot home test reads the magnification before the pass
  d.state.viewZoom = 0, d.state.drawing = kJulia, d.dialogs.position.numx = 3;
  for (Window* w : {&a, &b, &c, &d}) preparePass(w->state, w->dialogs);
  // Zeros read as defaults, and one jitter factor 0 resets both; an offset of 255 stays.
  const ExplorerState& s = a.state;
  EXPECT_EQ(std::tuple(s.drawing, s.iterDepth, s.escapeValue, s.colorMode, s.jitterLow,
                       s.jitterHigh, s.busy, s.colr, s.viewX, a.dialogs.position.numx),
            std::tuple(kMandelbrot, 64, 4, kRgb, 1.f, 1.f, kTrue, 255, -0.5, -0.5));
  // A pending zoom step joins the position; an offset above 255 resets all three.
  const ExplorerState& z = b.state;
  EXPECT_EQ(std::tuple(z.viewZoom, b.dialogs.position.numzoom, z.zoomDivisor, z.renderIn,
                       z.renderOut, z.colr, z.colg, z.colb),
            std::tuple(4.0, 4.0, 1.0, 3, 8, 160, 64, 192));
  EXPECT_EQ(std::tuple(c.state.viewX, d.state.viewX, d.state.viewY, d.state.viewZoom),
            std::tuple(0, 0, 0, 1));
}

using Action = std::function<void(Window&)>;

struct PictureRow {
  const char* name;
  std::int16_t grid = 0;
  int yieldAt = 0;
  Action change = {};  // run in yield `yieldAt`
  bool shows = false;  // whether the change shows in the picture
  Action setUp = [](Window& w) {
    w.state.colr = 10, w.state.colg = 20, w.state.colb = 30, w.dialogs.rendering.dcin = 3;
  };
};

// Every pixel once, cell by cell in the order the pass began with, in the plain evaluation's
// colour: a command in a yield applies to the pixels after it when it changes what the pass
// reads for every point.
TEST(Pass, PicturesFollowThePlainEvaluationAndTheCommandsInTheYields) {
  for (const PictureRow& row :
       {PictureRow{"home"},
        PictureRow{"colourMode", kLineMode, 41, [](Window& w) { w.state.colorMode = kGrey; }, true},
        PictureRow{"depth", 0, 30, [](Window& w) { w.state.iterDepth = 16; }, true},
        PictureRow{"offsets", 0, 2, [](Window& w) { w.state.colr = 99, w.state.colb = -40; }, true},
        PictureRow{"renderingLevel", 0, 100, [](Window& w) { w.state.renderOut = 2; }, true},
        PictureRow{"zoomStep", 0, 50, [](Window& w) { w.state.zoomDivisor = 4; }, true},
        PictureRow{"centre", kLineMode, 200, [](Window& w) { w.state.viewY = 0.25; }, true},
        PictureRow{"juliaConstant", 0, 73, [](Window& w) { w.dialogs.dimension.numDx = 0.3; }, true,
                   [](Window& w) { w.state.drawing = kJulia; }},
        // The position, start value and formula are taken as the pass begins.
        PictureRow{"positionWaits", 0, 20, [](Window& w) { w.dialogs.position.numy = 0.25; }},
        PictureRow{"startValueWaits", 0, 20, [](Window& w) { w.dialogs.dimension.numDx = 0.3; }},
        PictureRow{"formulaWaits", 0, 10, [](Window& w) { w.state.drawing = kJulia; }},
        // A rebuilt cell order leaves the pass's order alone but moves the jitter's numbers on.
        PictureRow{"lineMode", 32, 150,
                   [](Window& w) { w.state.gridChoice = kLineMode, formLoad(w.state, w.dialogs); }},
        PictureRow{"jitterAfterRebuild", 0, 40, [](Window& w) { formLoad(w.state, w.dialogs); },
                   true, [](Window& w) { w.state.jitterLow = 0.5f, w.state.jitterHigh = 2.0f; }}}) {
    SCOPED_TRACE(row.name);
    Window w(row.grid), unchanged(row.grid);
    row.setUp(w), row.setUp(unchanged);
    const std::vector<Pixel> order = passPixels(w.state.cellOrder, w.state.gridSide);
    w.onYield = [&](int k) { k == row.yieldAt ? row.change(w) : void(); };
    w.pass.drawings();
    unchanged.pass.drawings();
    EXPECT_EQ(w.drawn, order);
    w.checkDrawn();
    EXPECT_EQ(w.pixels() != unchanged.pixels(), row.shows);
    EXPECT_EQ(std::tuple(w.pointer(), w.penMode(), w.state.busy),
              std::tuple(Pointer::crosshair, PenMode::invert, kTrue));
    // Home pixel (200, 0) is c = -2, whose orbit stays at z = 2 with q = 4: inside, with
    // t = 4 / 4 / 4 and k = 0.25 * 200 * 64 * 3 = 9600, so it shows the settings read.
    if (row.yieldAt != 0) continue;
    EXPECT_EQ(w.pixel(200, 0), packColour(118, 148, 30));
  }
}

// Numbers in the order that are no cells of the grid are passed over, never read outside it.
TEST(Pass, OrderNumbersThatAreNoCells) {
  Window w(2);
  w.state.cellOrder = {3, 4, -1, 0, 2, 1, 1000};
  w.pass.drawings();
  EXPECT_EQ(w.drawn, passPixels({3, 0, 2, 1}, 2));
}

TEST(Pass, FormulaNotDrawnLeavesThePictureReadyForTheDrag) {
  Window w;
  w.state.drawing = kPendingJulia;
  w.pass.drawings();
  EXPECT_EQ(std::tuple(w.drawn.size(), w.pointer(), w.penMode(), w.state.busy, w.state.drawing),
            std::tuple(0u, Pointer::crosshair, PenMode::invert, kTrue, kPendingJulia));
}

enum Command { kStop, kClose, kStart };

// Stop takes effect at the next row end: in line mode one row later, in square-array mode
// after the first row of the next cell (the 25 x 25 cells are 12 rows of 16 pixels). Closing
// the window ends the pass at that yield, and no pass starts after it. A start does not nest:
// the running pass ends at that yield and one fresh pass, with its own preparation, follows.
TEST(Yields, StopCloseAndStartGivenInside) {
  struct Row {
    const char* name;
    std::int16_t grid;
    int at;                // the yield in which the command is given; 0: Stop before the pass
    std::ptrdiff_t drawn;  // by the pass that was running
    Command command = kStop;
  };
  for (const Row& row :
       {Row{"stopBeforeThePass", 0, 0, 120000}, Row{"stopInLinePreparation", kLineMode, 1, 400},
        Row{"stopAfterFirstRow", kLineMode, 2, 800}, Row{"stopInLineMiddle", kLineMode, 151, 60400},
        Row{"stopAfterLastButOneRow", kLineMode, 300, 120000},
        Row{"stopAfterLastRow", kLineMode, 301, 120000}, Row{"stopInGridPreparation", 25, 1, 16},
        Row{"stopAfterFirstCell", 25, 2, 192 + 16}, Row{"stopLate", 25, 600, 599 * 192 + 16},
        Row{"stopAfterLastCell", 25, 626, 120000}, Row{"stopInUnevenGrid", 32, 1, 13},
        Row{"closeInPreparation", 25, 1, 0, kClose},
        Row{"closeAfterCells", 25, 100, 99 * 192, kClose},
        Row{"closeAfterRows", kLineMode, 151, 150 * 400, kClose},
        Row{"startInPreparation", 0, 1, 0, kStart},
        Row{"startAfterCells", 25, 60, 59 * 192, kStart},
        Row{"startAfterLastCell", 25, 626, 120000, kStart}}) {
    SCOPED_TRACE(row.name);
    Window w(row.grid);
    w.state.busy = row.at == 0 ? kFalse : kTrue;
    w.onYield = [&](int k) {
      if (k != row.at) return;
      if (row.command == kStop) w.state.busy = kFalse;
      if (row.command == kClose) w.pass.close();
      if (row.command == kStart) w.dialogs.position.numzoom = 2, w.pass.drawings();
    };
    w.pass.drawings();
    w.checkDrawn();
    std::vector<Pixel> order = passPixels(w.state.cellOrder, w.state.gridSide),
                       expected(order.begin(), order.begin() + row.drawn);
    if (row.command == kStart) expected.insert(expected.end(), order.begin(), order.end());
    EXPECT_EQ(w.drawn, expected);
    EXPECT_EQ(std::tuple(w.pointer() == Pointer::crosshair, w.state.busy, w.pass.running(),
                         w.state.viewZoom),
              std::tuple(row.command != kClose, kTrue, false, row.command == kStart ? 2.0 : 1.0));
    // A stopped picture is not resumed: the next pass starts again with the first cell.
    w.onYield = nullptr;
    w.pass.drawings();
    EXPECT_EQ(std::vector(w.drawn.begin() + std::ssize(expected), w.drawn.end()),
              row.command == kClose ? std::vector<Pixel>{} : order);
  }
}

}  // namespace
}  // namespace orvane
