// A deep pixel's orbit with its escape test, step by step, and the rules that end a pixel
// inside a minibrot before the depth: exact repeats of its state, and a colour that can no
// longer change.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "deep/perturbed_pixel.h"

namespace orvane::deep {

// Whether every q from qLow to qHigh gives a point that reached the depth the same colour.
using InsideSteady = std::function<bool(double qLow, double qHigh)>;

// A pixel's orbit with its escape test, one step at a time, so that several can be
// interleaved.
class PerturbedOrbit {
 public:
  // With `steady`, a pixel inside a minibrot may end early (see interiorStop); without it,
  // every result is the one taking every step gives.
  PerturbedOrbit(const DeepReference& reference, ComplexExp offset, std::uint64_t randomBase,
                 const InsideSteady* steady = nullptr)
      : pixel_(reference, offset),
        steady_(steady),
        randomBase_(randomBase),
        q_(pixel_.startNorm()) {}

  // One step and its test, or an approximation standing for several steps none of which could
  // escape; true once the result is final.
  bool advance(const PointSetup& setup) {
    if (pixel_.approximating()) {
      double q = 0;
      const int skipped = pixel_.approximate(setup.depth - n_, setup.band.inside, q);
      if (skipped > 0) {
        n_ += skipped;
        q_ = q;
        skipped_ += static_cast<std::uint64_t>(skipped);
        ++approximations_;
        return pixel_.takeRebase() && afterRebase(setup);
      }
    }
    result_.m = q_;
    q_ = pixel_.step();
    result_.q = q_;
    if (n_ == setup.depth || escapedAt(q_, n_, setup, randomBase_)) {
      result_.n = n_;
      result_.reached = n_ == setup.depth;
      return true;
    }
    if (!(q_ <= setup.band.inside)) cycle_.lastOutside = n_;
    ++n_;
    return pixel_.takeRebase() && afterRebase(setup);
  }

  // Steps taken outside, none of which escaped or reached the depth, ending on |z|^2 = q; in
  // the escape band's inside, as the vector tests.
  void resume(const LaneState& lane, int steps, double q) {
    pixel_.resume(lane);
    n_ += steps;
    q_ = q;
  }

  PerturbedPixel& pixel() { return pixel_; }
  const PerturbedPixel& pixel() const { return pixel_; }
  int n() const { return n_; }
  const PointResult& result() const { return result_; }

  // The pixel's steps, once its result is final: approximations, and single steps for the
  // rest of its n + 1.
  void count(StepCounts& counts) const {
    counts.count(result_, &StepCounts::perturbed);
    counts.perturbed -= skipped_;
    counts.approximate += approximations_;
  }

 private:
  // Inside a minibrot a pixel's orbit settles on a cycle, and in floating point it comes back
  // bit for bit to a state it left. The state after each rebase is compared with those after
  // the last few rebases, and with the one saved at the last power-of-two rebase for longer
  // cycles (Brent's method). An exact repeat, with no step in between that an escape test
  // could have passed (every draw's threshold lies above its q), repeats until the depth:
  // whole cycles are skipped, all but the last one or two, which are taken so that the final
  // steps are real ones. The result is the one taking every step gives.
  // True when it ended the pixel.
  bool afterRebase(const PointSetup& setup) {
    if (steady_ && interiorStop(setup)) return true;
    if (cycle_.done) return false;
    const PerturbedPixel::State now = pixel_.state();
    const auto repeats = [&](const SavedState& saved) {
      return saved.n > cycle_.lastOutside && saved.state == now;
    };
    // The difference's real part alone tells almost every state apart, from a compact array.
    const std::size_t kept = std::min<std::uint64_t>(cycle_.rebases, kRecentStates);
    for (std::size_t k = 0; k < kept; ++k) {
      if (cycle_.recentRe[k] == now.re && repeats(cycle_.recent[k])) {
        skipCycles(n_ - cycle_.recent[k].n, setup.depth);
        return false;
      }
    }
    if (cycle_.rebases > kRecentStates && repeats(cycle_.saved)) {
      skipCycles(n_ - cycle_.saved.n, setup.depth);
      return false;
    }
    // Field by field: a whole-struct copy from the stack stalls on its own fresh stores.
    const std::size_t slot = cycle_.rebases % kRecentStates;
    cycle_.recentRe[slot] = now.re;
    cycle_.recent[slot].state = now;
    cycle_.recent[slot].n = n_;
    if (++cycle_.rebases == cycle_.nextSave) {
      cycle_.saved.state = now;
      cycle_.saved.n = n_;
      cycle_.nextSave *= 2;
    }
    return false;
  }

  // A pixel crossing a minibrot's period after period in one step each, whose derivative
  // over the last of those periods has fallen below 2^-16, is inside: its orbit is drawn to a
  // cycle and never escapes. It then reaches the depth, and only the colour of its last z is
  // left to know. Where that z falls within the period (not at the return), the
  // approximation that crosses each period keeps every z of it within 2^-39 of Z, as it did
  // for the periods before, so q lies within 2^-30 of |Z|^2 there; when every q so close
  // gives the same colour, the pixel ends now with that colour, the one taking every step
  // gives. Otherwise it goes on.
  bool interiorStop(const PointSetup& setup) {
    // |derivative|^2 over the periods since it last stood at 1 or more.
    const double product = interior_ * pixel_.periodNorm();  // 0 times infinity: start again
    interior_ = product < 1 ? product : 1;
    if (!(interior_ < kInteriorNorm)) return false;
    const ReferenceOrbit& orbit = pixel_.orbit();
    const auto length = static_cast<std::uint64_t>(orbit.size() - 1);
    const std::uint64_t phase = static_cast<std::uint64_t>(setup.depth - n_ + 1) % length;
    if (phase == 0) return false;
    const double q = norm(orbit.at(phase));
    if (!(*steady_)(q * (1 - kPhaseBound), q * (1 + kPhaseBound))) return false;
    // m, which no inside colour reads: |z|^2 a step earlier, at the return its value now.
    const double m = phase == 1 ? q_ : norm(orbit.at(phase - 1));
    result_ = {.n = setup.depth, .reached = true, .m = m, .q = q};
    skipped_ += static_cast<std::uint64_t>(setup.depth - n_ + 1);
    return true;
  }
  static constexpr double kInteriorNorm = 0x1p-32;
  static constexpr double kPhaseBound = 0x1p-30;

  void skipCycles(int length, int depth) {
    const int cycles = (depth - n_) / length - 1;
    if (cycles > 0) {
      n_ += cycles * length;
      skipped_ += static_cast<std::uint64_t>(cycles) * static_cast<std::uint64_t>(length);
    }
    cycle_.done = true;  // a second repeat would skip nothing
  }

  static constexpr std::size_t kRecentStates = 8;
  struct SavedState {
    PerturbedPixel::State state;
    int n = 0;  // the step count there
  };
  struct Cycle {
    std::array<SavedState, kRecentStates> recent;       // after rebase r at r % kRecentStates
    std::array<std::uint64_t, kRecentStates> recentRe;  // their states' re
    SavedState saved;                                   // after rebase nextSave / 2
    std::uint64_t rebases = 0;
    std::uint64_t nextSave = kRecentStates * 2;
    int lastOutside = -1;  // the last step whose q lay beyond the escape band's inside
    bool done = false;
  };

  PerturbedPixel pixel_;
  const InsideSteady* steady_;
  double interior_ = 1;  // see interiorStop
  Cycle cycle_;
  std::uint64_t randomBase_;
  double q_;
  int n_ = 0;
  std::uint64_t skipped_ = 0;         // steps stood for by approximations or skipped cycles
  std::uint64_t approximations_ = 0;  // approximations taken
  PointResult result_;
};

}  // namespace orvane::deep
