// Views worth zooming into, found in MPFR: minibrot nuclei by Newton's method, and decimal
// texts of any precision.
#pragma once

#include <cmath>
#include <string>

#include "deep/mpfr_number.h"

namespace orvane::deep::testing {

// All the digits `x`'s precision holds, in scientific notation.
inline std::string decimal(mpfr_srcptr x) {
  char* text = nullptr;
  mpfr_asprintf(&text, "%.*Re", static_cast<int>(mpfr_get_prec(x) * 0.302) + 2, x);
  std::string result(text);
  mpfr_free_str(text);
  return result;
}

// The real nucleus of period p nearest the tip -2: there z_k = 2 cos(2^(k-1) d) with
// c = -2 + d^2, first 0 at d = pi / 2^p; Newton's method on z_p(c) = 0 finishes it. The
// text is the nucleus moved by `shift`, so the reference does not pass through 0 itself.
inline std::string nucleusNearTip(int period, mpfr_prec_t bits, double shift) {
  MpfrNumber c(bits), z(bits), dz(bits), t(bits);
  mpfr_set_d(c.get(), -2 + std::pow(M_PI / std::ldexp(1.0, period), 2), MPFR_RNDN);
  for (int step = 0; step < 40; ++step) {
    mpfr_set_zero(z.get(), 1);
    mpfr_set_zero(dz.get(), 1);
    for (int k = 0; k < period; ++k) {  // dz <- 2 z dz + 1, z <- z^2 + c
      mpfr_mul(dz.get(), dz.get(), z.get(), MPFR_RNDN);
      mpfr_mul_2ui(dz.get(), dz.get(), 1, MPFR_RNDN);
      mpfr_add_ui(dz.get(), dz.get(), 1, MPFR_RNDN);
      mpfr_sqr(z.get(), z.get(), MPFR_RNDN);
      mpfr_add(z.get(), z.get(), c.get(), MPFR_RNDN);
    }
    mpfr_div(t.get(), z.get(), dz.get(), MPFR_RNDN);
    mpfr_sub(c.get(), c.get(), t.get(), MPFR_RNDN);
  }
  mpfr_add_d(c.get(), c.get(), shift, MPFR_RNDN);
  return decimal(c.get());
}

}  // namespace orvane::deep::testing
