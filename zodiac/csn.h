// Module csn: ecliptic longitude to constellation scale value, and the
// boundary table that defines the scale.
#pragma once

#include <array>

namespace zodiac {

// Start of each constellation, ecliptic longitude of J2000 in degrees:
// whole degrees plus the single-precision 1.5555556 widened to double.
extern const std::array<double, 12> cs_boundary;

// lon: ecliptic longitude in degrees, normalised IN PLACE (one -360 when above
// 360, then one +360 when below cs_boundary[0]); accepted
// -328.4444444179535 <= lon < 751.5555555820465.
// Returns the CsValue, [0, 12).
// Stops: "CS-----1" (too large), "CS-----2" (too small).
double cs_of_longitude(double& lon);

}  // namespace zodiac
