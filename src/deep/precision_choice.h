// Whether a view is drawn in double precision, as the window draws it, or in deep mode.
#pragma once

#include <string>
#include <string_view>

namespace orvane::deep {

enum class Precision { kAuto, kDouble, kDeep };

struct PrecisionChoice {
  bool deep = false;
  std::string reason;  // one line for --stats
};

// Smallest gap between neighbouring pixels, in units in the last place of a double near the
// view's largest coordinate (at least 2, where orbits turn), at which double precision still
// counts as drawing the view. At 256 every pixel maps to a distinct point, its mapping errs by
// less than 1/256 of a pixel, and so does the centre's rounding to a double.
inline constexpr double kDoubleStepsPerPixel = 256;

// The choice for `asked` on the view with these plain-decimal texts (a zero magnification
// reads as 1), drawn at `frameScale` picture pixels per window pixel. Auto chooses double
// exactly when the magnification and centre are doubles of the normal range and the pixels
// are at least kDoubleStepsPerPixel steps apart.
PrecisionChoice choosePrecision(Precision asked, std::string_view zoom, std::string_view centreX,
                                std::string_view centreY, double frameScale);

// Whether the text is a finite double whose size, unless it is 0, is in the normal range: what
// --precision double can take.
bool fitsDouble(std::string_view text);

// Whether a plain-decimal magnification is 0 (read as 1) or within 2^±kMaxZoomExponent: past
// about 1e315000 the reference orbit alone would take hours.
bool zoomInRange(std::string_view text);

// Whether a plain-decimal centre coordinate is below 2^kMaxZoomExponent in size: beyond, no
// view holds anything but points escaping at once, and far beyond, MPFR reads an infinity.
bool centreInRange(std::string_view text);

// The text's value rounded to the nearest double, held within the doubles' range: past the
// largest double it reads as the largest, and a value too small for a double keeps its sign as
// the smallest. This is what the colouring receives as the magnification of a deep view.
double nearestDouble(std::string_view text);

}  // namespace orvane::deep
