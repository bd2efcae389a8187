// Module planets: heliocentric position and velocity of the planets from
// mean orbital elements with periodic terms (a 1994 theory), mean ecliptic and
// equinox of J2000.
#pragma once

#include <array>
#include <cstdint>

namespace ephemeris {

// PlanetIndex: 1 Mercury, 2 Venus, 3 Earth-Moon barycentre, 4 Mars,
// 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune.
//
// Given:  jd      Julian day, used unchanged as the time (no time-scale correction)
//         planet  PlanetIndex
// Returned:
//         lon     heliocentric ecliptic longitude, radians, (-pi, pi]
//         lat     heliocentric ecliptic latitude, radians
//         r       heliocentric distance, AU
//         state   x, y, z (AU) and their rates (AU/day); heliocentric, axes of
//                 the mean ecliptic and equinox of J2000
//         status  0 success; 1 planet outside 1..8 (nothing else written);
//                 2 Kepler's equation not solved (lon, lat, r, x, y, z zero);
//                 3 jd outside 2086307.5 .. 2817151.5 (results valid).
// No state between calls, no allocation.
void planet_position(const double& jd, const std::int32_t& planet, double& lon, double& lat,
                     double& r, std::array<double, 6>& state, std::int32_t& status);

}  // namespace ephemeris
