// FloatExp: a double mantissa with a separate 64-bit exponent, for pixel differences far below
// the smallest double (a view at 1e1000 has pixels 1e-1002 apart).
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace orvane::deep {

// 2^k for |k| <= 1022, built from its bits: cheaper than ldexp in the hot loops.
inline double powerOfTwo(std::int64_t k) {
  return std::bit_cast<double>(static_cast<std::uint64_t>(1023 + k) << 52);
}

// The value mantissa * 2^exponent. Normalised: the mantissa is 0 (then the exponent is 0) or
// has a magnitude in [0.5, 1), so magnitudes compare by exponent first. Arithmetic rounds the
// mantissa as a double would; only the range is wider. Not-a-number and infinity stay in the
// mantissa, so an overflowed orbit still counts as escaped.
class FloatExp {
 public:
  constexpr FloatExp() = default;
  explicit FloatExp(double value) : FloatExp(value, 0) {}
  FloatExp(double mantissa, std::int64_t exponent) : mantissa_(mantissa), exponent_(exponent) {
    normalise();
  }

  double mantissa() const { return mantissa_; }
  std::int64_t exponent() const { return exponent_; }
  bool isZero() const { return mantissa_ == 0; }

  // The nearest double: 0 below the subnormals, infinity above the largest double.
  double toDouble() const {
    // In the normal range, 2 m times a power of two is exact and far cheaper than ldexp.
    if (exponent_ > -1022 && exponent_ <= 1024)
      return 2 * mantissa_ * powerOfTwo(static_cast<int>(exponent_) - 1);
    if (exponent_ < -1200) return mantissa_ * 0.0;
    if (exponent_ > 1200) return mantissa_ * INFINITY;
    return std::ldexp(mantissa_, static_cast<int>(exponent_));
  }

  FloatExp operator-() const { return raw(-mantissa_, exponent_); }
  friend FloatExp operator*(FloatExp a, FloatExp b) {
    return {a.mantissa_ * b.mantissa_, a.exponent_ + b.exponent_};
  }
  friend FloatExp operator/(FloatExp a, FloatExp b) {
    return {a.mantissa_ / b.mantissa_, a.exponent_ - b.exponent_};
  }
  friend FloatExp operator+(FloatExp a, FloatExp b) {
    if (a.mantissa_ == 0) return b;
    if (b.mantissa_ == 0) return a;
    if (a.exponent_ < b.exponent_) std::swap(a, b);
    const std::int64_t shift = a.exponent_ - b.exponent_;
    // Past 64 bits the smaller term cannot move the rounded sum.
    if (shift > 64) return a;
    return {a.mantissa_ + b.mantissa_ * powerOfTwo(-static_cast<int>(shift)), a.exponent_};
  }
  friend FloatExp operator-(FloatExp a, FloatExp b) { return a + -b; }

  // Compares the values (not the magnitudes); not-a-number compares false, as doubles do.
  friend bool operator<(FloatExp a, FloatExp b) {
    if (!std::isfinite(a.mantissa_) || !std::isfinite(b.mantissa_)) {
      // Only the order against infinities matters then; finite values sit at 0.
      return (std::isfinite(a.mantissa_) ? 0 : a.mantissa_) <
             (std::isfinite(b.mantissa_) ? 0 : b.mantissa_);
    }
    const bool negA = a.mantissa_ < 0;
    const bool negB = b.mantissa_ < 0;
    if (a.mantissa_ == 0 || b.mantissa_ == 0 || negA != negB || a.exponent_ == b.exponent_)
      return a.mantissa_ < b.mantissa_;
    return negA ? a.exponent_ > b.exponent_ : a.exponent_ < b.exponent_;
  }
  friend bool operator>(FloatExp a, FloatExp b) { return b < a; }
  friend bool operator==(FloatExp a, FloatExp b) {
    return a.mantissa_ == b.mantissa_ && (a.mantissa_ == 0 || a.exponent_ == b.exponent_);
  }

 private:
  static FloatExp raw(double mantissa, std::int64_t exponent) {
    FloatExp f;
    f.mantissa_ = mantissa;
    f.exponent_ = exponent;
    return f;
  }

  // Moves the double's own exponent into exponent_ by rewriting its bits; zero, subnormal and
  // non-finite mantissas take the slow path.
  void normalise() {
    constexpr std::uint64_t kExponentBits = 0x7ffull << 52;
    const auto bits = std::bit_cast<std::uint64_t>(mantissa_);
    const auto biased = static_cast<std::int64_t>((bits & kExponentBits) >> 52);
    if (biased != 0 && biased != 0x7ff) {
      exponent_ += biased - 1022;
      mantissa_ = std::bit_cast<double>((bits & ~kExponentBits) | (1022ull << 52));
    } else if (mantissa_ == 0) {
      exponent_ = 0;
    } else if (std::isfinite(mantissa_)) {
      int shift = 0;
      mantissa_ = std::frexp(mantissa_, &shift);
      exponent_ += shift;
    } else {
      exponent_ = 0;
    }
  }

  double mantissa_ = 0;
  std::int64_t exponent_ = 0;
};

// A complex number with FloatExp parts.
struct ComplexExp {
  FloatExp re;
  FloatExp im;

  friend ComplexExp operator+(ComplexExp a, ComplexExp b) { return {a.re + b.re, a.im + b.im}; }
  friend ComplexExp operator*(ComplexExp a, ComplexExp b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
  }
  // |z|^2.
  FloatExp norm() const { return re * re + im * im; }
};

}  // namespace orvane::deep
