// Module dist: angular distance of two longitudes.
#pragma once

namespace zodiac {

// arc_distance
// Given:
//   a, b  longitudes, degrees, any turn; read only.
// Returned:
//   their angular distance, degrees, 0 .. 180, the same for either order.
// Notes:
//   1. Each pass of the reduction removes about one turn; a difference of two
//      turns or more is first brought below one turn with fmod (exact, so the
//      result is the same), so every finite difference ends quickly.
double arc_distance(const double& a, const double& b);

}  // namespace zodiac
