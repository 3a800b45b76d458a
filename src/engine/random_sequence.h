// The program's single pseudo-random sequence, shared by the cell-order build and the jitter.
#pragma once

#include <cstdint>

namespace orvane {

// A counter-based sequence: number k is a pure function of k (SplitMix64 of k), so a stretch
// of points can draw its numbers in parallel and still get the same values whatever the
// thread count. The state is one position; it is never reseeded, so every launch yields the
// same sequence.
class RandomSequence {
 public:
  static constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ull;

  // The SplitMix64 output for the counter value `weyl` = (k + 1) * kGamma.
  static constexpr std::uint64_t mix(std::uint64_t weyl) {
    std::uint64_t z = weyl;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Number k of the sequence: the top 24 bits of the mix, divided by 2^24, so uniform in
  // [0, 1) and exactly representable as a 32-bit float as well.
  static constexpr double at(std::uint64_t k) {
    return static_cast<double>(mix((k + 1) * kGamma) >> 40) * 0x1p-24;
  }

  // Takes the next number and moves past it.
  double next() { return at(position_++); }

  std::uint64_t position() const { return position_; }
  void advance(std::uint64_t count) { position_ += count; }

 private:
  std::uint64_t position_ = 0;
};

}  // namespace orvane
