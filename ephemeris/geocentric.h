// Geocentric ecliptic longitudes formed from heliocentric states of
// planet_position, as both programs form them: the Earth is PlanetIndex 3
// (the Earth-Moon barycentre), only x and y are used.
#pragma once

#include <array>
#include <cmath>

namespace ephemeris {

inline constexpr double kPiDouble = 3.141592653589793;
inline constexpr double kTwoPiDouble = 6.283185307179586;

// The Sun: the Earth's heliocentric direction reversed. Radians, [0, 2 pi).
inline double sun_longitude(const std::array<double, 6>& earth) {
  double lambda = std::atan2(earth[1], earth[0]) - kPiDouble;
  if (lambda < 0) lambda += kTwoPiDouble;
  return lambda;
}

// A planet seen from the Earth. Radians, [0, 2 pi).
inline double planet_longitude(const std::array<double, 6>& planet,
                               const std::array<double, 6>& earth) {
  double lambda = std::atan2(planet[1] - earth[1], planet[0] - earth[0]);
  if (lambda < 0) lambda += kTwoPiDouble;
  return lambda;
}

}  // namespace ephemeris
