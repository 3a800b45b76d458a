// A deep view: centre and magnification read from decimal text into MPFR numbers.
#include "deep/deep_view.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/explorer_state.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

namespace {

std::size_t skipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

}  // namespace

// MPFR would also take "inf", "nan", "@" exponents, hexadecimal and leading blanks: the
// grammar is checked here so that only plain decimals reach it.
bool isPlainDecimal(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const std::size_t intEnd = skipDigits(text, at);
  std::size_t digits = intEnd - at;
  at = intEnd;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fracEnd = skipDigits(text, at + 1);
    digits += fracEnd - at - 1;
    at = fracEnd;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t expEnd = skipDigits(text, at);
    if (expEnd == at) return false;
    at = expEnd;
  }
  return at == text.size();
}

namespace {

// Reads a checked decimal, rounded to nearest; false when it is not a finite number.
bool readDecimal(std::string_view text, MpfrNumber& into) {
  if (!isPlainDecimal(text)) return false;
  const std::string terminated(text);
  char* end = nullptr;
  mpfr_strtofr(into.get(), terminated.c_str(), &end, 10, MPFR_RNDN);
  return end == terminated.c_str() + terminated.size() && mpfr_number_p(into.get());
}

// The exponent of the larger of |x| and |y| (2^e > |v|), or a very small number for zero.
std::int64_t magnitudeExponent(std::string_view x, std::string_view y) {
  MpfrNumber rough(64);
  std::int64_t exponent = INT64_MIN;
  for (std::string_view text : {x, y}) {
    if (readDecimal(text, rough) && !mpfr_zero_p(rough.get()))
      exponent = std::max<std::int64_t>(exponent, mpfr_get_exp(rough.get()));
  }
  return exponent;
}

}  // namespace

mpfr_prec_t precisionFor(FloatExp zoom, std::int64_t centreExponent) {
  // zoom < 2^exponent, and 100 < 2^7.
  const std::int64_t pixelBits = std::max<std::int64_t>(0, zoom.exponent() + 7);
  const std::int64_t centreBits = std::clamp<std::int64_t>(centreExponent, 0, 64);
  return static_cast<mpfr_prec_t>(pixelBits + centreBits) + kPrecisionMarginBits;
}

DeepViewReading readDeepView(std::string_view centreX, std::string_view centreY,
                             std::string_view zoom) {
  DeepViewReading reading;
  MpfrNumber zoomNumber(64);
  if (!readDecimal(zoom, zoomNumber) || mpfr_zero_p(zoomNumber.get()) ||
      mpfr_get_exp(zoomNumber.get()) > kMaxZoomExponent) {
    reading.bad = DeepViewField::kZoom;
    return reading;
  }
  const FloatExp zoomValue = toFloatExp(zoomNumber.get());
  const mpfr_prec_t bits = precisionFor(zoomValue, magnitudeExponent(centreX, centreY));
  DeepView view{MpfrNumber(bits), MpfrNumber(bits), zoomValue, bits};
  if (!readDecimal(centreX, view.centreX)) {
    reading.bad = DeepViewField::kCentreX;
  } else if (!readDecimal(centreY, view.centreY)) {
    reading.bad = DeepViewField::kCentreY;
  } else {
    reading.view.emplace(std::move(view));
  }
  return reading;
}

ComplexExp pixelOffset(int x, int y, const PointSetup& setup, FloatExp zoom) {
  const Complex offset = turnedOffset(x, y, setup);
  return {FloatExp(offset.re) / zoom, FloatExp(offset.im) / zoom};
}

}  // namespace orvane::deep
