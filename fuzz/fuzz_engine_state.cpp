// The engine on arbitrary explorer states: the load routine, then a render pass into a
// memory surface, with one or two threads, with and without the vector kernel. Every pixel
// the pass sets must lie in the picture, be set once, and have the colour the plain
// point-by-point evaluation gives it.
//
// The input is read front to back, little-endian; where it runs out the rest reads as 0,
// which every field takes as "not chosen yet", so an empty input is the start-up state:
//   u8 flags: bit 0 two threads, bit 1 scalar kernel, bits 2-3 yields before Stop (1 to 4),
//             bit 4 no load routine (the pass then has no cell order)
//   i16 drawing, gridChoice, iterDepth, escapeValue    f32 jitterLow, jitterHigh
//   i16 colorMode, renderIn, renderOut, dcin, dcout, colr, colg, colb
//   f64 numzoom, numx, numy    i16 ct, roo    f64 numDx, numDy, zoomDivisor, viewZoom
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "engine/point_iteration.h"
#include "engine/render_pass.h"
#include "fuzz_check.h"

namespace {

using orvane::fuzz::check;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  template <class T>
  T take() {
    unsigned char bytes[sizeof(T)] = {};
    const std::size_t count = std::min(sizeof(T), size_ - offset_);
    if (count > 0) std::memcpy(bytes, data_ + offset_, count);
    offset_ += count;
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

// Depths up to 32767 are valid, but there a pass over points that never escape takes seconds
// per input under the sanitizers and starves the search, so larger depths fold into
// 1 .. kMaxDepth. Zero and negative depths, which have their own handling, pass unchanged.
constexpr std::int16_t kMaxDepth = 1024;

// Each pass stops after about this many pixels (at the end of the row that reaches it), for
// the same reason: the first cell of a coarse grid alone holds 30000 pixels.
constexpr std::size_t kPixelBudget = 2048;

struct Drawn {
  orvane::Pixel pixel;
  orvane::Colour colour;
};

// A memory surface that records what the pass sets and asks for a Stop once the budget is
// spent; the pass tests `busy` after every row.
class RecordingSurface : public orvane::MemorySurface {
 public:
  explicit RecordingSurface(orvane::ExplorerState& state)
      : MemorySurface(orvane::kPictureWidth, orvane::kPictureHeight), state_(state) {}

  void setPixel(int x, int y, orvane::Colour colour) override {
    check(x >= 0 && y >= 0 && x < width() && y < height(), "a pixel outside the picture");
    const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width()) +
                    static_cast<std::size_t>(x);
    check(!set_[at], "a pixel set twice in one pass");
    set_[at] = true;
    drawn_.push_back({{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)}, colour});
    if (drawn_.size() >= kPixelBudget) state_.busy = orvane::kFalse;
    MemorySurface::setPixel(x, y, colour);
  }

  const std::vector<Drawn>& drawn() const { return drawn_; }

 private:
  orvane::ExplorerState& state_;
  std::vector<bool> set_ = std::vector<bool>(orvane::kPictureWidth * orvane::kPictureHeight);
  std::vector<Drawn> drawn_;
};

struct Case {
  orvane::ExplorerState state;
  orvane::DialogValues dialogs;
  orvane::ComputeOptions options;
  int yieldsBeforeStop = 1;
};

void decode(Input& in, Case& c) {
  orvane::ExplorerState& s = c.state;
  orvane::DialogValues& d = c.dialogs;
  const auto flags = in.take<std::uint8_t>();
  c.options.threads = flags & 1 ? 2 : 1;
  c.options.vectorised = (flags & 2) == 0;
  c.yieldsBeforeStop = 1 + (flags >> 2 & 3);
  const bool load = (flags & 16) == 0;

  s.drawing = in.take<std::int16_t>();
  s.gridChoice = in.take<std::int16_t>();
  // As the menus do it: the grid is chosen, then the load routine rebuilds the order. The
  // first load puts its defaults in, so the dialog values below are set after it.
  if (load) orvane::formLoad(s, d);
  s.iterDepth = in.take<std::int16_t>();
  if (s.iterDepth > kMaxDepth)
    s.iterDepth = static_cast<std::int16_t>(1 + (s.iterDepth - 1) % kMaxDepth);
  s.escapeValue = in.take<std::int16_t>();
  s.jitterLow = in.take<float>();
  s.jitterHigh = in.take<float>();
  s.colorMode = in.take<std::int16_t>();
  s.renderIn = in.take<std::int16_t>();
  s.renderOut = in.take<std::int16_t>();
  d.rendering.dcin = in.take<std::int16_t>();
  d.rendering.dcout = in.take<std::int16_t>();
  s.colr = in.take<std::int16_t>();
  s.colg = in.take<std::int16_t>();
  s.colb = in.take<std::int16_t>();
  d.position.numzoom = in.take<double>();
  d.position.numx = in.take<double>();
  d.position.numy = in.take<double>();
  d.position.ct = in.take<std::int16_t>();
  d.position.roo = in.take<std::int16_t>();
  d.dimension.numDx = in.take<double>();
  d.dimension.numDy = in.take<double>();
  s.zoomDivisor = in.take<double>();
  // Only when the input holds it: the load routine's magnification stays otherwise.
  if (const double viewZoom = in.take<double>(); viewZoom != 0 || !load) s.viewZoom = viewZoom;
}

bool drawsSomething(std::int16_t drawing) {
  return drawing == orvane::formula::kMandelbrot || drawing == orvane::formula::kJulia ||
         drawing == orvane::formula::kHole;
}

// The pass's snapshot cannot change during it (the yields here only ask for a Stop), so
// every pixel drawn must have the colour of the reference evaluation with the pass's
// settings, drawing the random numbers that follow the position the pass started at.
void checkColours(const Case& c, const std::vector<Drawn>& drawn, std::uint64_t randomStart) {
  const orvane::ExplorerState& s = c.state;
  if (!drawsSomething(s.drawing)) {
    check(drawn.empty(), "pixels drawn for a formula that draws nothing");
    return;
  }
  const orvane::PointSetup setup =
      orvane::preparePointSetup(orvane::capturePointSettings(s, c.dialogs, s.drawing));
  // An infinite jitter factor makes the threshold at r = 0 not a number (0 times infinity),
  // and there the vector kernel's shortcut for the threshold's range parts from the reference.
  // The menus and the renderer's options give only finite factors, so for these only the
  // pass's safety is checked.
  if (setup.jittered && std::isinf(setup.jitterSpan)) return;
  const orvane::ColourSetup colours = orvane::prepareColourSetup(setup.settings, setup.depth);
  const std::uint64_t stride = setup.randomStride();
  for (std::size_t k = 0; k < drawn.size(); ++k) {
    const orvane::Pixel p = drawn[k].pixel;
    const orvane::PointResult result =
        orvane::iteratePixel(p.x, p.y, setup, randomStart + k * stride);
    if (drawn[k].colour != orvane::colourOf(colours, result)) {
      std::fprintf(stderr, "pixel (%d, %d), drawn %zu: colour %06x, the reference gives %06x\n",
                   p.x, p.y, k, drawn[k].colour, orvane::colourOf(colours, result));
      orvane::fuzz::fail("a colour differs from the point-by-point evaluation");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  Case c;
  decode(in, c);
  orvane::ExplorerState& s = c.state;
  RecordingSurface surface(s);
  int yields = 0;
  const auto yield = [&] {
    if (++yields >= c.yieldsBeforeStop) s.busy = orvane::kFalse;
  };
  const std::uint64_t randomStart = s.random.position();
  {
    orvane::RenderPass pass(s, c.dialogs, surface, yield, c.options);
    pass.drawings();
    check(!pass.running(), "the pass still runs after it returned");
  }
  checkColours(c, surface.drawn(), randomStart);
  return 0;
}
