// Module angle-csn: constellation scale value to ecliptic longitude.
#pragma once

namespace zodiac {

// x: CsValue, 0 .. 24; a value above 12 is reduced by 12 IN PLACE (once).
// Returns the ecliptic longitude of J2000 in radians, [0, 2 pi) with pi the
// single-precision 3.1415927 widened to double.
// Stops: x < 0 -> "ANGLE ----1"; x > 24 (no segment after the single
// reduction) -> "ANGLE ----2".
double longitude_of_cs(double& x);

}  // namespace zodiac
