// Module csn: ecliptic longitude to constellation scale value, and the
// boundary table that defines the scale.
#pragma once

#include <array>

namespace zodiac {

// Start of each constellation, ARIES (0) to PISCES (11): ecliptic longitude of
// J2000 in degrees, a whole number of degrees plus the single-precision
// 1.5555556 widened to double (added in double precision). Entry k starts the
// constellation of the scale values k <= x < k + 1; PISCES runs on through 360
// to cs_boundary[0] + 360. This table alone defines the scale.
extern const std::array<double, 12> cs_boundary;

// cs_of_longitude
// Given and rewritten:
//   lon  ecliptic longitude of J2000, degrees. Normalised IN PLACE: one -360
//        when above 360 (exactly 360 stays), then one +360 when below
//        cs_boundary[0]. Accepted: -328.4444444179535 <= lon < 751.5555555820465
//        (one turn below, two turns above the start of ARIES).
// Returned:
//   CsValue, [0, 12), linear in longitude inside each constellation.
// Stops, after the normalisation:
//   lon >= cs_boundary[0] + 360, or not a number -> "CS-----1"
//   lon <  cs_boundary[0]                        -> "CS-----2"
double cs_of_longitude(double& lon);

}  // namespace zodiac
