// Zooming from a picture: the plane point of one of its pixels, and its magnification
// multiplied.
#include "render/zoom_at.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "deep/deep_view.h"
#include "deep/precision_choice.h"
#include "render/render_picture.h"

namespace orvane {

namespace {

// Decimal digits of a number of binary exponent e (2^(e-1) <= |x| < 2^e) before its point,
// one more than needed rather than one fewer.
long decimalDigits(std::int64_t binaryExponent) {
  return static_cast<long>(std::ceil(static_cast<double>(binaryExponent) * std::log10(2.0)));
}

// A millionth of the finest pixel: 1 / (100 x zoom x 16384/300 x 8) is above 10^-4.7 / zoom.
constexpr long kDigitsBelowTheZoom = 11;

// The digits of a plain decimal's mantissa, which bound those of what it is multiplied by.
long mantissaDigits(const std::string& text) {
  const std::size_t end = std::min(text.find_first_of("eE"), text.size());
  return std::count_if(text.begin(), text.begin() + static_cast<long>(end),
                       [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

PicturePixel readPicturePixel(const OptionValue& value, PosterSize size) {
  const std::string expected = "a pixel X,Y of the " + std::to_string(size.width) + "x" +
                               std::to_string(size.height) + " picture, from 0,0 to " +
                               std::to_string(size.width - 1) + "," +
                               std::to_string(size.height - 1);
  const std::vector<long> xy =
      value.wholeList(2, 0, std::max(size.width, size.height) - 1, expected);
  if (xy[0] >= size.width || xy[1] >= size.height) value.fail(expected);
  return {static_cast<int>(xy[0]), static_cast<int>(xy[1])};
}

NumberPair centreKeeping(const ViewRequest& picture, PicturePixel pixel,
                         std::optional<PicturePixel> under, const deep::ViewNumber& zoom) {
  const PicturePlan plan = planPicture(picture);
  const ViewRequest& drawn = plan.drawn;
  const PointSetup setup = pointSetup(plan);
  // Enough bits for the finer of the two views, and the digits written on top.
  const std::int64_t centreExponent =
      std::max({drawn.centre->first.binaryExponent(), drawn.centre->second.binaryExponent(),
                std::int64_t{0}});
  const deep::ViewNumber& finer =
      zoom.binaryExponent() > drawn.zoom.binaryExponent() ? zoom : drawn.zoom;
  const mpfr_prec_t bits = deep::precisionFor(finer.wide(), centreExponent) +
                           static_cast<mpfr_prec_t>(4 * kDigitsBelowTheZoom);
  deep::MpfrNumber re(bits);
  deep::MpfrNumber im(bits);
  deep::exactPixelPoint(re.get(), im.get(), pixel.x, pixel.y, setup, drawn.centre->first,
                        drawn.centre->second, drawn.zoom);
  if (under) {
    // The new centre lies the new view's offset of `under` away from the point.
    const deep::ViewNumber zero = *deep::ViewNumber::read("0");
    deep::MpfrNumber offsetRe(bits);
    deep::MpfrNumber offsetIm(bits);
    deep::exactPixelPoint(offsetRe.get(), offsetIm.get(), under->x, under->y, setup, zero, zero,
                          zoom);
    mpfr_sub(re.get(), re.get(), offsetRe.get(), MPFR_RNDN);
    mpfr_sub(im.get(), im.get(), offsetIm.get(), MPFR_RNDN);
  }
  const long wanted = decimalDigits(zoom.binaryExponent()) + kDigitsBelowTheZoom;
  const auto written = [wanted](mpfr_srcptr value) {
    const long digits = mpfr_zero_p(value) ? 1 : wanted + decimalDigits(mpfr_get_exp(value));
    return deep::ViewNumber::of(value, static_cast<int>(std::max<long>(digits, 1)),
                                deep::ViewNumber::Notation::kPlain);
  };
  return {written(re.get()), written(im.get())};
}

NumberPair pixelCentre(const ViewRequest& picture, PicturePixel pixel,
                       const deep::ViewNumber& zoom) {
  return centreKeeping(picture, pixel, std::nullopt, zoom);
}

deep::ViewNumber zoomedBy(const deep::ViewNumber& zoom, const OptionValue& factor) {
  constexpr char kExpected[] = "a number above 0";
  const deep::ViewNumber f = factor.number(kExpected);
  if (f.isNegative() || f.wide().isZero()) factor.fail(kExpected);
  const long digits = mantissaDigits(zoom.text()) + mantissaDigits(f.text());
  // Bits enough that the product rounded to `digits` decimals is the exact product.
  const auto bits = static_cast<mpfr_prec_t>(4 * digits + 64);
  // Named numbers only: MPFR's macros would outlive a temporary's.
  const deep::MpfrNumber by = f.exact(bits);
  deep::MpfrNumber product = zoom.exact(bits);
  if (mpfr_zero_p(product.get())) mpfr_set_ui(product.get(), 1, MPFR_RNDN);  // 0 reads as 1
  mpfr_mul(product.get(), product.get(), by.get(), MPFR_RNDN);
  const deep::ViewNumber zoomed = deep::ViewNumber::of(product.get(), static_cast<int>(digits),
                                                       deep::ViewNumber::Notation::kPlain);
  if (!deep::zoomInRange(zoomed))
    throw OptionError{"--zoom-by: the magnification " + zoom.text() + " x " + f.text() +
                      " is outside 1e-315000 to 1e315000 in size"};
  return zoomed;
}

}  // namespace orvane
