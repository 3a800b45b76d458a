// --verify: a sample of a drawn picture's pixels, iterated again directly in MPFR.
//
// The direct iteration takes each pixel at the exact point of the view it stands for: the
// centre with all its digits plus the pixel's offset, as a deep picture maps it. A deep
// picture iterates that very point, so the check measures its perturbation; a double picture
// rounds the point and every step, and the check measures both, blocks of a double picture
// drawn past its precision included. Twice the view's bits, because an orbit passing near 0
// squares its distance from its neighbours. The view's bits are those deep mode reads the
// view with, so a double picture is held to more than 2 x 53 bits: the same standard.
#include "render/verification.h"

#include <algorithm>

#include "deep/direct_pixel.h"
#include "engine/random_sequence.h"

namespace orvane {

namespace {

// FNV-1a of the view text: every character of it moves the sample.
std::uint64_t seedOf(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

PixelSample::PixelSample(PosterSize size, int count, const std::string& view) : size_(size) {
  const auto width = static_cast<std::uint64_t>(size.width);
  const std::uint64_t total = width * static_cast<std::uint64_t>(size.height);
  const std::uint64_t runs =
      std::min<std::uint64_t>(total, static_cast<std::uint64_t>(std::max(count, 0)));
  const std::uint64_t seed = seedOf(view);
  pixels_.reserve(runs);
  for (std::uint64_t k = 0; k < runs; ++k) {
    const std::uint64_t begin = k * total / runs;
    const std::uint64_t length = (k + 1) * total / runs - begin;
    const std::uint64_t draw = RandomSequence::mix(seed + (k + 1) * RandomSequence::kGamma);
    const std::uint64_t index = begin + draw % length;
    pixels_.push_back(
        {static_cast<std::int16_t>(index % width), static_cast<std::int16_t>(index / width)});
  }
  drawn_.assign(pixels_.size(), Colour{0});
}

void PixelSample::take(int y, std::span<const Colour> row) {
  auto at =
      std::partition_point(pixels_.begin(), pixels_.end(), [y](const Pixel& p) { return p.y < y; });
  for (; at != pixels_.end() && at->y == y; ++at)
    drawn_[static_cast<std::size_t>(at - pixels_.begin())] = row[static_cast<std::size_t>(at->x)];
}

Verification verifyPixels(const PixelCheck& check, ComputeOptions options) {
  const DrawnPass& pass = check.pass;
  const std::span<const Pixel> pixels = check.sample.pixels();
  // Nothing to iterate: no pixels, a view deep mode cannot read (the command line lets none
  // through), or a formula that is not drawn, whose picture stays black.
  if (pixels.empty() || !pass.view || !formula::isDrawn(pass.setup.settings.formula)) return {};
  const deep::DeepView& view = *pass.view;
  const mpfr_prec_t bits = 2 * view.precisionBits;
  const std::uint64_t stride = pass.setup.randomStride();
  const auto width = static_cast<std::size_t>(check.sample.size().width);
  // The random position a pixel drew its numbers from, by its place in the drawing order.
  const auto randomBase = [&](Pixel p) {
    const std::size_t index = static_cast<std::size_t>(p.y) * width + static_cast<std::size_t>(p.x);
    const std::uint64_t place = pass.drawingOrder.empty() ? index : pass.drawingOrder[index];
    return pass.randomStart + place * stride;
  };
  const ShareKernel direct = [&](PointWork& work) {
    deep::DirectPixel pixel(work.setup, bits);
    return computeEach(
        work, [&](Pixel p, std::uint64_t) { return pixel.iterate(view, p.x, p.y, randomBase(p)); });
  };
  std::vector<Colour> expected(pixels.size());
  PointComputer computer(options);
  computer.start(pass.setup, prepareColourSetup(pass.setup.settings, pass.setup.depth), pixels,
                 expected, 0, direct);
  computer.wait();
  Verification verification{.identical = 0, .checked = pixels.size()};
  for (std::size_t i = 0; i < pixels.size(); ++i)
    verification.identical += expected[i] == check.sample.drawn()[i];
  return verification;
}

}  // namespace orvane
