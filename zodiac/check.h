// Module check: is a longitude inside an arc widened by a tolerance?
#pragma once

#include <cstdint>

namespace zodiac {

// arc_contains
// Given and rewritten:
//   angle      longitude to test, radians; normalised IN PLACE (at most one
//              turn added, then at most one removed).
//   lower      start of the arc, radians; widened and normalised IN PLACE.
//   upper      end of the arc, radians; widened and normalised IN PLACE.
//              The arc runs forward (increasing longitude) from lower to
//              upper; upper < lower is an arc across 0; equal limits as passed
//              are the whole circle.
// Given:
//   tolerance  radians, >= 0; read only.
// Returned:
//   i_OK: 1 when the angle lies in the widened arc (ends included), 0 otherwise.
// Notes:
//   1. The turn is 2 pi = 6.2831854820251465, pi being the single-precision
//      3.1415927 widened; longitudes computed with the double pi lie below it.
//   2. Equal limits return 1 at once: nothing is normalised, checked or
//      written back, whatever the angle.
//   3. Both limits move out by the tolerance, unless the gap that the arc
//      leaves (from upper forward to lower) is no wider than 2 x tolerance:
//      then the widened limits would pass each other and the arc is left as
//      given. This holds for arcs across 0 and for arcs that do not cross it.
//   4. A value passes when it lies in [-2 pi, 4 pi) before its normalisation
//      (the limits after widening). Stops, checked in this order:
//        angle outside [0, 2 pi) after normalisation, or NaN -> "CHECK--1"
//        lower likewise                                      -> "CHECK--2"
//        upper likewise                                      -> "CHECK--3"
std::int32_t arc_contains(double& angle, double& lower, double& upper, const double& tolerance);

}  // namespace zodiac
