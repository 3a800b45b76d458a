// Four doubles in one AVX2 register: the vector types and small operations that the engine's
// vectorised kernel and the deep-zoom lanes share.
#pragma once

#include <immintrin.h>

#include <cstdint>

// AVX2 is switched on function by function, by an attribute that GCC and clang both honour,
// not for a whole file by -mavx2: with a file-wide flag the inline functions and templates
// from headers that a file instantiates (std::min, std::array, the point feed) would be
// compiled for AVX2 as well, and the linker, keeping one copy of each for the whole program,
// might keep that one, which crashes on a processor without AVX2. Header functions still
// inline into the marked ones. Every function that takes or returns a vector carries the mark,
// and is called only after `vectorKernelAvailable()` (engine/point_work.h) said yes.
#define ORVANE_AVX2 [[gnu::target("avx2")]]

namespace orvane {

typedef double V4d __attribute__((vector_size(32)));
typedef std::int64_t V4i __attribute__((vector_size(32)));
typedef std::uint64_t V4u __attribute__((vector_size(32)));

ORVANE_AVX2 inline V4d splat(double value) {
  return V4d{value, value, value, value};
}

// The lanes of a comparison's mask (-1 or 0 each) as the bits 0 to 3 of an int.
ORVANE_AVX2 inline int laneMask(V4i mask) {
  return _mm256_movemask_pd(reinterpret_cast<__m256d>(mask));
}

// `now` in the lanes of `mask`, `before` in the others.
ORVANE_AVX2 inline V4d blend(V4i mask, V4d now, V4d before) {
  return reinterpret_cast<V4d>((reinterpret_cast<V4i>(now) & mask) |
                               (reinterpret_cast<V4i>(before) & ~mask));
}

// The lanes whose |z|^2 = q lies above `bound` or is not a number: an overflowed orbit counts
// as escaped, as in the scalar test escapedAt. With a bound of EscapeBand this is the whole
// test wherever the band decides it.
ORVANE_AVX2 inline V4i beyond(V4d q, V4d bound) {
  return ~(q <= bound);
}

}  // namespace orvane
