// The perturbed step, written once for every number type a deep pixel is iterated in.
#pragma once

namespace orvane::deep {

// dz' = (2Z + d) w + c for a complex type C with parts re and im: doubles (Complex), FloatExps
// (ComplexExp), or vectors of four doubles, one pixel per lane. w is the difference being
// stepped, d the difference where it is added to Z: w itself, or +0 where w is a scaled copy
// of a difference that vanishes beside Z. Every type forms the same terms in the same order,
// so a vector lane rounds exactly as a lone double step does; Z + Z is 2Z exactly.
// Always inlined: the vector callers keep every operand in registers.
template <class C>
[[gnu::always_inline]] inline C perturbedStep(const C& big, const C& d, const C& w, const C& c) {
  const auto tRe = big.re + big.re + d.re;
  const auto tIm = big.im + big.im + d.im;
  return {tRe * w.re - tIm * w.im + c.re, tRe * w.im + tIm * w.re + c.im};
}

}  // namespace orvane::deep
