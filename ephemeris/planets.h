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
// Given:  jd      Julian day, used unchanged as the time (no time-scale
//                 correction); any value, dates far outside the window are
//                 computed with the same series
//         planet  PlanetIndex
// Returned (all heliocentric, mean ecliptic and equinox of J2000, x towards
// the equinox, z towards the north ecliptic pole):
//         lon     longitude, radians, (-pi, pi] (not reduced to [0, 2pi):
//                 a body with y < 0 has lon < 0)
//         lat     latitude, radians, [-pi/2, pi/2]
//         r       distance, AU
//         state   x, y, z (AU) and their rates (AU/day)
//         status  0 success;
//                 1 planet outside 1..8: nothing else written, the outputs
//                   keep the caller's values;
//                 2 Kepler's equation not solved in 10 corrections: lon, lat,
//                   r and x, y, z set to 0, the rates not written;
//                 3 jd outside 2086307.5 .. 2817151.5 (about 1000 to 3000
//                   AD): all results computed and valid.
// The callers treat 0 and 3 alike. Index 3 serves as the Earth: the Sun's
// geocentric longitude is its lon + pi. No state between calls, no
// allocation, no input or output.
void planet_position(const double& jd, const std::int32_t& planet, double& lon, double& lat,
                     double& r, std::array<double, 6>& state, std::int32_t& status);

}  // namespace ephemeris
