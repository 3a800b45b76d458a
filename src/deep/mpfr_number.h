// MpfrNumber: one MPFR number owned by value, so views and orbits need no manual clearing.
#pragma once

#include <mpfr.h>

#include <utility>

#include "deep/float_exp.h"

namespace orvane::deep {

class MpfrNumber {
 public:
  explicit MpfrNumber(mpfr_prec_t precisionBits) { mpfr_init2(value_, precisionBits); }
  MpfrNumber(const MpfrNumber& other) {
    mpfr_init2(value_, mpfr_get_prec(other.value_));
    mpfr_set(value_, other.value_, MPFR_RNDN);
  }
  MpfrNumber(MpfrNumber&& other) noexcept {
    // MPFR has no moved-from state: the source keeps a minimal number to clear later.
    mpfr_init2(value_, MPFR_PREC_MIN);
    mpfr_swap(value_, other.value_);
  }
  MpfrNumber& operator=(MpfrNumber other) noexcept {
    mpfr_swap(value_, other.value_);
    return *this;
  }
  ~MpfrNumber() { mpfr_clear(value_); }

  mpfr_ptr get() { return value_; }
  mpfr_srcptr get() const { return value_; }

 private:
  mpfr_t value_;
};

// `into` = value, rounded to its precision (exact from 53 bits up).
inline void setFloatExp(mpfr_ptr into, FloatExp value) {
  mpfr_set_d(into, value.mantissa(), MPFR_RNDN);
  mpfr_mul_2si(into, into, static_cast<long>(value.exponent()), MPFR_RNDN);
}

// The value with a 53-bit mantissa and an exponent of any size.
inline FloatExp toFloatExp(mpfr_srcptr x) {
  if (mpfr_zero_p(x)) return FloatExp();
  if (!mpfr_number_p(x)) return FloatExp(mpfr_get_d(x, MPFR_RNDN));
  long exponent = 0;
  const double mantissa = mpfr_get_d_2exp(&exponent, x, MPFR_RNDN);
  return {mantissa, exponent};
}

}  // namespace orvane::deep
