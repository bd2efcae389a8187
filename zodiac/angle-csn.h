// Module angle-csn: constellation scale value to ecliptic longitude.
#pragma once

namespace zodiac {

// longitude_of_cs
// Given and rewritten:
//   x  CsValue, 0 .. 24. A value above 12 is reduced by 12 IN PLACE, once
//      (exactly 12 stays and gives the same longitude as 0).
// Returned:
//   ecliptic longitude of J2000, radians, [0, 2 pi), with pi the
//   single-precision 3.1415927 widened to double (3.1415927410125732).
// Stops:
//   x < 0                                    -> "ANGLE ----1"
//   x > 24, or not a number (no constellation
//   after the single reduction)              -> "ANGLE ----2"
double longitude_of_cs(double& x);

}  // namespace zodiac
