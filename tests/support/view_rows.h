// The position dialog's four box texts as the tests' rows write them.
#pragma once

#include <string>

#include "control/position_control.h"

namespace orvane {

// The four box texts on one line: magnification, centre X and Y, rotation ("1.5 0 0 0").
inline std::string boxes(const PositionTexts& t) {
  return t.zoom + " " + t.x + " " + t.y + " " + t.round;
}

}  // namespace orvane
