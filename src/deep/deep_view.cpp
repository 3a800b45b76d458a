// A deep view: centre and magnification as MPFR numbers at the precision the view needs.
#include "deep/deep_view.h"

#include <algorithm>
#include <cmath>

#include "engine/explorer_state.h"
#include "engine/point_iteration.h"

namespace orvane::deep {

namespace {

// The exponent of the larger of |x| and |y| (2^e > |v|), or a very small number for zero.
std::int64_t magnitudeExponent(const ViewNumber& x, const ViewNumber& y) {
  std::int64_t exponent = INT64_MIN;
  for (const ViewNumber* number : {&x, &y}) {
    if (!number->wide().isZero()) exponent = std::max(exponent, number->binaryExponent());
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

std::optional<DeepView> readDeepView(const ViewNumber& centreX, const ViewNumber& centreY,
                                     const ViewNumber& zoom) {
  if (zoom.wide().isZero() || zoom.binaryExponent() > kMaxZoomExponent) return std::nullopt;
  const mpfr_prec_t bits = precisionFor(zoom.wide(), magnitudeExponent(centreX, centreY));
  return DeepView{centreX.exact(bits), centreY.exact(bits), zoom.wide(), bits};
}

ComplexExp pixelOffset(int x, int y, const PointSetup& setup, FloatExp zoom) {
  const Complex offset = turnedOffset(x, y, setup);
  return {FloatExp(offset.re) / zoom, FloatExp(offset.im) / zoom};
}

FloatExp largestOffset(const PointSetup& setup, FloatExp zoom) {
  // The picture spans twice its centre each way; a pixel beyond it on every side and a
  // millionth more cover the rounding of the mapping.
  const PictureFrame& frame = setup.frame;
  const double reach = std::hypot(frame.centreX + 1, frame.centreY + 1) / frame.scale /
                       kPixelsPerUnit * (1 + 0x1p-20);
  const FloatExp offset = FloatExp(reach) / zoom;  // a negative zoom mirrors the picture
  return offset < FloatExp() ? -offset : offset;
}

void pixelPoint(mpfr_ptr re, mpfr_ptr im, int x, int y, const PointSetup& setup,
                const DeepView& view) {
  const ComplexExp offset = pixelOffset(x, y, setup, view.zoom);
  setFloatExp(re, offset.re);
  setFloatExp(im, offset.im);
  mpfr_add(re, re, view.centreX.get(), MPFR_RNDN);
  mpfr_add(im, im, view.centreY.get(), MPFR_RNDN);
}

void exactPixelPoint(mpfr_ptr re, mpfr_ptr im, int x, int y, const PointSetup& setup,
                     const ViewNumber& centreX, const ViewNumber& centreY, const ViewNumber& zoom) {
  const mpfr_prec_t bits = std::max(mpfr_get_prec(re), mpfr_get_prec(im));
  const PictureFrame& frame = setup.frame;
  // The offsets in pixels, each divided by the frame's scale and by kPixelsPerUnit x zoom.
  MpfrNumber unit = zoom.exact(bits);
  mpfr_mul_si(unit.get(), unit.get(), kPixelsPerUnit, MPFR_RNDN);
  mpfr_mul_d(unit.get(), unit.get(), frame.scale, MPFR_RNDN);
  const auto offset = [&](int pixel, double centre) {
    MpfrNumber value(bits);
    mpfr_set_si(value.get(), pixel, MPFR_RNDN);
    mpfr_sub_d(value.get(), value.get(), centre, MPFR_RNDN);
    mpfr_div(value.get(), value.get(), unit.get(), MPFR_RNDN);
    return value;
  };
  const MpfrNumber u = offset(y, frame.centreY);
  const MpfrNumber v = offset(x, frame.centreX);
  // (u cos + v sin, u sin - v cos) + centre
  const auto turned = [&](mpfr_ptr into, double uFactor, double vFactor, const ViewNumber& centre) {
    MpfrNumber term(bits);
    mpfr_mul_d(into, u.get(), uFactor, MPFR_RNDN);
    mpfr_mul_d(term.get(), v.get(), vFactor, MPFR_RNDN);
    mpfr_add(into, into, term.get(), MPFR_RNDN);
    const MpfrNumber at = centre.exact(bits);
    mpfr_add(into, into, at.get(), MPFR_RNDN);
  };
  turned(re, setup.cosTurn, setup.sinTurn, centreX);
  turned(im, setup.sinTurn, -setup.cosTurn, centreY);
}

}  // namespace orvane::deep
