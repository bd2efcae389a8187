// Module dist: angular distance of two longitudes.
#pragma once

namespace zodiac {

// a, b: longitudes in degrees (read only). Returns their distance in degrees,
// 0 .. 180, the same for either order.
double arc_distance(const double& a, const double& b);

}  // namespace zodiac
