// The view's rotation: whole degrees in the state, radians for the mapping.
#pragma once

#include <cstdint>

namespace orvane {

// The decimal the rotation has always used for pi, not the nearest double to it.
inline constexpr double kPi = 3.14159265358979;

// `turnRad` for a rotation of `viewTurn` degrees: -viewTurn / 180 * pi. The negation is done
// in a wider integer: -(-32768) has no 16-bit value.
inline double turnRadians(std::int16_t viewTurn) {
  return static_cast<double>(-static_cast<int>(viewTurn)) / 180 * kPi;
}

}  // namespace orvane
