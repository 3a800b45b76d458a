// ViewNumber: a number of a view (a centre coordinate, a magnification, a component) read
// once from the decimal text that gave it, and handed on typed from there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "deep/float_exp.h"
#include "deep/mpfr_number.h"

namespace orvane::deep {

// [+-]digits[.digits][(e|E)[+-]digits], with digits on at least one side of the point, of any
// length: the numbers the renderer takes for a view.
bool isPlainDecimal(std::string_view text);

class ViewNumber {
 public:
  // The number a plain decimal gives; nothing when the text is not one, or when its size is
  // past MPFR's exponent range (about 10^±323000000), where it would read as an infinity.
  static std::optional<ViewNumber> read(std::string_view text);
  // The shortest text that reads back to exactly `value`, which must be finite.
  static ViewNumber of(double value);
  // How a number computed in MPFR is written.
  enum class Notation {
    kScientific,  // d.ddd, then e and the exponent unless it is 0
    kPlain,       // 0.000ddd or ddd.ddd for sizes from 1e-6 to below 1e21, else scientific
  };
  // `value`, which must be finite, rounded to `digits` significant digits, trailing zeros
  // dropped.
  static ViewNumber of(mpfr_srcptr value, int digits, Notation notation);

  // The text as given: kept verbatim wherever the view is written down.
  const std::string& text() const { return text_; }

  // The value rounded to the nearest double, held within the doubles' range: past the largest
  // double it reads as the largest, and a value too small for a double keeps its sign as the
  // smallest. This is what the double path and the colouring receive.
  double nearest() const { return nearest_; }
  // Whether nearest() is the value rounded, not held at an end of the doubles' range.
  bool roundsToDouble() const { return roundsToDouble_; }

  // The value with a double's mantissa and an exponent of any size: 0 for a value too small
  // even for MPFR's exponents.
  FloatExp wide() const { return wide_; }
  // For a non-zero wide(): the exponent e with 2^(e-1) <= |value| < 2^e, before the mantissa
  // is rounded to a double's (which may carry it to the next power of two).
  std::int64_t binaryExponent() const { return binaryExponent_; }
  // Whether the text itself is 0, as opposed to a value below every exponent.
  bool isZero() const { return zero_; }
  // Whether the value is below 0: a negative zero is not.
  bool isNegative() const { return negative_; }

  // The value rounded to nearest at `bits` of precision.
  MpfrNumber exact(mpfr_prec_t bits) const;

  friend bool operator==(const ViewNumber& a, const ViewNumber& b) { return a.text_ == b.text_; }

 private:
  ViewNumber() = default;

  std::string text_;
  double nearest_ = 0;
  bool roundsToDouble_ = true;
  FloatExp wide_;
  std::int64_t binaryExponent_ = 0;
  bool zero_ = true;
  bool negative_ = false;
};

}  // namespace orvane::deep
