// Views as the tests' rows write them: the position dialog's values and its box texts.
#pragma once

#include <string>
#include <tuple>

#include "position_control.h"

namespace orvane {

// The position dialog's confirmed values (a brace list would leave its box text unnamed).
inline PositionValues confirmed(double numzoom, double numx, double numy, std::int16_t ct,
                                std::int16_t roo) {
  PositionValues values;
  std::tie(values.numzoom, values.numx, values.numy, values.ct, values.roo) =
      std::tie(numzoom, numx, numy, ct, roo);
  return values;
}

// The four box texts on one line: magnification, centre X and Y, rotation ("1.5 0 0 0").
inline std::string boxes(const PositionTexts& t) {
  return t.zoom + " " + t.x + " " + t.y + " " + t.round;
}

}  // namespace orvane
