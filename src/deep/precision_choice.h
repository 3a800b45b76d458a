// Whether a view is drawn in double precision, as the window draws it, or in deep mode.
#pragma once

#include <string>

#include "deep/view_number.h"

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

// The choice for `asked` on the view with these numbers (a zero magnification reads as 1),
// drawn at `frameScale` picture pixels per window pixel. Auto chooses double exactly when the
// magnification and centre are doubles of the normal range and the pixels are at least
// kDoubleStepsPerPixel steps apart.
PrecisionChoice choosePrecision(Precision asked, const ViewNumber& zoom, const ViewNumber& centreX,
                                const ViewNumber& centreY, double frameScale);

// Whether the number is a finite double whose size, unless it is 0, is in the normal range:
// what --precision double can take.
bool fitsDouble(const ViewNumber& number);

// Whether a magnification is 0 (read as 1) or within 2^±kMaxZoomExponent: past about
// 1e315000 the reference orbit alone would take hours.
bool zoomInRange(const ViewNumber& zoom);

// Whether a centre coordinate is below 2^kMaxZoomExponent in size: beyond, no view holds
// anything but points escaping at once.
bool centreInRange(const ViewNumber& coordinate);

}  // namespace orvane::deep
