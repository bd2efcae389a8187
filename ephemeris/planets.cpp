// Module planets: heliocentric position and velocity of the eight major
// planets from mean orbital elements with periodic terms (a 1994 theory),
// on the mean ecliptic and equinox of J2000.
//
// Every operation below is written in the order in which it must be
// evaluated: the results must stay the same to the last bit, so no
// expression may be regrouped or folded (the build forbids contraction too).
// Squares and cubes are products (t*t, a*a*a), c2*t^2 is c2*(t*t), and the
// mean motion takes pow(x, 0.5): each of these, written another way, changes
// the last bit of some results (sqrt(x) on about one day in 2000).

#include "ephemeris/planets.h"

#include <cmath>

namespace ephemeris {

static constexpr double kPi = 3.141592653589793;
static constexpr double kTwoPi = 6.283185307179586;
static constexpr double kJ2000 = 2451545.0;
// Julian millennia per day: the double nearest to 1/365250 (the day
// difference is multiplied by it, never divided by 365250).
static constexpr double kMillenniaPerDay = 2.737850787132101e-06;
static constexpr double kArcsecToRad = kPi / 648000.0;
// Base frequency of the periodic terms, radians per millennium: the
// single-precision 0.3595362 widened, i.e. 0.35953620076179504, which is not
// the double 0.3595362.
static constexpr double kMuFactor = static_cast<double>(0.3595362f);
static constexpr double kAmplitudeScale = 1e-7;  // periodic amplitudes are in 1e-7 AU / 1e-7 rad
// Gaussian gravitational constant as arc seconds per day over arc seconds per radian.
static constexpr double kGaussArcsecPerDay = 3548.1876069651;
static constexpr double kArcsecPerRadian = 206264.80624709636;
static constexpr double kKeplerTolerance = 1e-12;  // radians, on the residual
static constexpr int kKeplerMaxPasses = 11;        // residual tests; at most 10 corrections
// Dates accepted without status 3 (Julian days, both included).
static constexpr double kWindowFirst = 2086307.5;
static constexpr double kWindowLast = 2817151.5;

// ---------------------------------------------------------------------------
// Mean elements. One row per PlanetIndex 1..8; columns c0, c1, c2 of
// c0 + c1*t + c2*t^2, t in Julian millennia from J2000.

// Semi-major axis a: AU, AU/millennium, AU/millennium^2.
static const double kSemiMajorAxis[8][3] = {
    {0.3870983098, 0.0, 0.0},                // Mercury
    {0.72332982, 0.0, 0.0},                  // Venus
    {1.0000010178, 0.0, 0.0},                // Earth-Moon barycentre
    {1.5236793419, 3e-10, 0.0},              // Mars
    {5.2026032092, 1.9132e-06, -3.9e-09},    // Jupiter
    {9.5549091915, -2.13896e-05, 4.44e-08},  // Saturn
    {19.2184460618, -3.716e-07, 9.79e-08},   // Uranus
    {30.1103868694, -1.6635e-06, 6.86e-08},  // Neptune
};

// The four angles: c0 in degrees, c1 in arc seconds/millennium, c2 in arc
// seconds/millennium^2; the angle in arc seconds is 3600*c0 + c1*t + c2*t^2.

// Mean longitude lambda.
static const double kMeanLongitude[8][3] = {
    {252.25090552, 5381016286.88982, -1.92789},  // Mercury
    {181.97980085, 2106641364.33548, 0.59381},   // Venus
    {100.46645683, 1295977422.83429, -2.04411},  // Earth-Moon barycentre
    {355.43299958, 689050774.93988, 0.94264},    // Mars
    {34.35151874, 109256603.77991, -30.60378},   // Jupiter
    {50.0774443, 43996098.55732, 75.61614},      // Saturn
    {314.05500511, 15424811.93933, -1.75083},    // Uranus
    {304.34866548, 7865503.20744, 0.21103},      // Neptune
};

// Eccentricity e: 1, per millennium, per millennium^2.
static const double kEccentricity[8][3] = {
    {0.2056317526, 0.0002040653, -2.8349e-06},    // Mercury
    {0.0067719164, -0.0004776521, 9.8127e-06},    // Venus
    {0.0167086342, -0.0004203654, -1.26734e-05},  // Earth-Moon barycentre
    {0.0934006477, 0.0009048438, -8.0641e-06},    // Mars
    {0.0484979255, 0.0016322542, -4.71366e-05},   // Jupiter
    {0.0555481426, -0.0034664062, -6.43639e-05},  // Saturn
    {0.0463812221, -0.0002729293, 7.8913e-06},    // Uranus
    {0.009455747, 6.03263e-05, 0.0},              // Neptune
};

// Longitude of the perihelion varpi.
static const double kPerihelion[8][3] = {
    {77.45611904, 5719.1159, -4.83016},     // Mercury
    {131.563703, 175.4864, -498.48184},     // Venus
    {102.93734808, 11612.3529, 53.27577},   // Earth-Moon barycentre
    {336.06023395, 15980.45908, -62.328},   // Mars
    {14.33120687, 7758.75163, 259.95938},   // Jupiter
    {93.05723748, 20395.49439, 190.25952},  // Saturn
    {173.00529106, 3215.56238, -34.09288},  // Uranus
    {48.12027554, 1050.71912, 27.39717},    // Neptune
};

// Inclination i (exactly 0 for the Earth-Moon barycentre at J2000).
static const double kInclination[8][3] = {
    {7.00498625, -214.25629, 0.28977},   // Mercury
    {3.39466189, -30.84437, -11.67836},  // Venus
    {0.0, 469.97289, -3.35053},          // Earth-Moon barycentre
    {1.84972648, -293.31722, -8.1183},   // Mars
    {1.30326698, -71.5589, 11.95297},    // Jupiter
    {2.48887878, 91.85195, -17.66225},   // Saturn
    {0.77319689, -60.72723, 1.25759},    // Uranus
    {1.76995259, 8.12333, 0.08135},      // Neptune
};

// Longitude of the ascending node Omega.
static const double kNode[8][3] = {
    {48.33089304, -4515.21727, -31.79892},    // Mercury
    {76.67992019, -10008.48154, -51.32614},   // Venus
    {174.87317577, -8679.27034, 15.34191},    // Earth-Moon barycentre
    {49.55809321, -10620.90088, -230.57416},  // Mars
    {100.46440702, 6362.03561, 326.52178},    // Jupiter
    {113.66550252, -9240.19942, -66.23743},   // Saturn
    {74.00595701, 2669.15033, 145.93964},     // Uranus
    {131.78405702, -221.94322, -0.78728},     // Neptune
};

// Mass of the Sun over the mass of the body (dimensionless).
static const double kMassRatio[8] = {
    6023600.0,  // Mercury
    408523.5,   // Venus
    328900.5,   // Earth-Moon barycentre
    3098710.0,  // Mars
    1047.355,   // Jupiter
    3498.5,     // Saturn
    22869.0,    // Uranus
    19314.0,    // Neptune
};

// ---------------------------------------------------------------------------
// Periodic terms. Argument of term k: multiplier(k) * mu, mu = kMuFactor * t
// radians. Terms 1..8 are added as they stand; term 9 of a and terms 9 and 10
// of lambda are multiplied by t as well.

// Semi-major axis, terms 1..9: integer multipliers of mu.
static const double kAMultiplier[8][9] = {
    {69613, 75645, 88306, 59899, 15746, 71087, 142173, 3086, 0},  // Mercury
    {21863, 32794, 26934, 10931, 26250, 43725, 53867, 28939, 0},  // Venus
    {16002, 21863, 32004, 10931, 14529, 16368, 15318, 32794, 0},  // Earth-Moon barycentre
    {6345, 7818, 15636, 7077, 8184, 14163, 1107, 4872, 0},        // Mars
    {1760, 1454, 1167, 880, 287, 2640, 19, 2047, 1454},           // Jupiter
    {574, 0, 880, 287, 19, 1760, 1167, 306, 574},                 // Saturn
    {204, 0, 177, 1265, 4, 385, 200, 208, 204},                   // Uranus
    {0, 102, 106, 4, 98, 1367, 487, 204, 0},                      // Neptune
};

// Semi-major axis, cosine amplitudes, 1e-7 AU.
static const double kACos[8][9] = {
    {4, -13, 11, -9, -9, -3, -1, 4, 0},                                     // Mercury
    {-156, 59, -42, 6, 19, -20, -10, -12, 0},                               // Venus
    {64, -152, 62, -8, 32, -41, 19, -11, 0},                                // Earth-Moon barycentre
    {124, 621, -145, 208, 54, -57, 30, 15, 0},                              // Mars
    {-23437, -2634, 6601, 6259, -1507, -1821, 2620, -2115, -1489},          // Jupiter
    {62911, -119919, 79336, 17814, -24241, 12068, 8306, -4893, 8902},       // Saturn
    {389061, -262125, -44088, 8387, -22976, -2093, -615, -9720, 6633},      // Uranus
    {-412235, -157046, -31430, 37817, -9740, -13, -7449, 9644, 0},          // Neptune
};

// Semi-major axis, sine amplitudes, 1e-7 AU.
static const double kASin[8][9] = {
    {-29, -1, 9, 6, -6, 5, 4, 0, 0},                                        // Mercury
    {-48, -125, -26, -37, 18, -13, -20, -2, 0},                             // Venus
    {-150, -46, 68, 54, 14, 24, -28, 22, 0},                                // Earth-Moon barycentre
    {-621, 532, -694, -20, 192, -94, 71, -73, 0},                           // Mars
    {-14614, -19828, -5869, 1881, -4372, -2255, 782, 930, 913},             // Jupiter
    {139737, 0, 24667, 51123, -5102, 7429, -4095, -1976, -9566},            // Saturn
    {-138081, 0, 37205, -49039, -41901, -33872, -27037, -12474, 18797},     // Uranus
    {0, 28492, 133236, 69654, 52322, -49577, -26430, -3593, 0},             // Neptune
};

// Mean longitude, terms 1..10: integer multipliers of mu.
static const double kLMultiplier[8][10] = {
    {3086, 15746, 69613, 59899, 75645, 88306, 12661, 2658, 0, 0},  // Mercury
    {21863, 32794, 10931, 73, 4387, 26934, 1473, 2157, 0, 0},      // Venus
    {10, 16002, 21863, 10931, 1473, 32004, 4387, 73, 0, 0},        // Earth-Moon barycentre
    {10, 6345, 7818, 1107, 15636, 7077, 8184, 532, 10, 0},         // Mars
    {19, 1760, 1454, 287, 1167, 880, 574, 2640, 19, 1454},         // Jupiter
    {19, 574, 287, 306, 1760, 12, 31, 38, 19, 574},                // Saturn
    {4, 204, 177, 8, 31, 200, 1265, 102, 4, 204},                  // Uranus
    {4, 102, 106, 8, 98, 1367, 487, 204, 4, 102},                  // Neptune
};

// Mean longitude, cosine amplitudes, 1e-7 radian.
static const double kLCos[8][10] = {
    {21, -95, -157, 41, -5, 42, 23, 30, 0, 0},                              // Mercury
    {-160, -313, -235, 60, -74, -76, -27, 34, 0, 0},                        // Venus
    {-325, -322, -79, 232, -52, 97, 55, -41, 0, 0},                         // Earth-Moon barycentre
    {2268, -979, 802, 602, -668, -33, 345, 201, -55, 0},                    // Mars
    {7610, -4997, -7689, -5841, -2617, 1115, -748, -607, 6074, 354},        // Jupiter
    {-18549, 30125, 20012, -730, 824, 23, 1289, -352, -14767, -2062},       // Saturn
    {-135245, -14594, 4197, -4030, -5630, -2898, 2540, -306, 2939, 1986},   // Uranus
    {89948, 2103, 8963, 2695, 3682, 1648, 866, -154, -1963, -283},          // Neptune
};

// Mean longitude, sine amplitudes, 1e-7 radian.
static const double kLSin[8][10] = {
    {-342, 136, -23, 62, 66, -52, -33, 17, 0, 0},                           // Mercury
    {524, -149, -35, 117, 151, 122, -71, -62, 0, 0},                        // Venus
    {-105, -137, 258, 35, -116, -88, -112, -80, 0, 0},                      // Earth-Moon barycentre
    {854, -205, -936, -240, 140, -341, -97, -232, 536, 0},                  // Mars
    {-56980, 8016, 1012, 1448, -3024, -3710, 318, 503, 3767, 577},          // Jupiter
    {138606, -13478, -4964, 1441, -1319, -1482, 427, 1236, -9167, -1918},   // Saturn
    {71234, -41116, 5334, -4935, -1848, 66, 434, -1748, 3780, -701},        // Uranus
    {-47645, 11647, 2166, 3194, 679, 0, -244, -419, -2531, 48},             // Neptune
};

// ---------------------------------------------------------------------------

// c0 + c1*t + c2*t^2, summed left to right, t^2 formed first as t*t.
static inline double polynomial(const double (&c)[3], double t) {
  return c[0] + c[1] * t + c[2] * (t * t);
}

// An angle row of the tables at t, in arc seconds.
static inline double arcsec_polynomial(const double (&c)[3], double t) {
  return 3600.0 * c[0] + c[1] * t + c[2] * (t * t);
}

// fmod(x, 2pi): the remainder with the sign of x. For |x| < 2pi that is x
// itself, exactly, so the library call is made only for larger values.
static inline double fmod_two_pi(double x) {
  return std::fabs(x) < kTwoPi ? x : std::fmod(x, kTwoPi);
}

// fmod(x, 2pi) plus 2pi when negative: radians, result in [0, 2pi] (2pi
// itself only when a tiny negative remainder rounds up).
static inline double reduce_to_circle(double x) {
  double r = fmod_two_pi(x);
  if (r < 0.0) r += kTwoPi;
  return r;
}

// One periodic term, amp_cos * cos(arg) + amp_sin * sin(arg) with
// arg = multiplier * mu. A zero multiplier makes the term exactly amp_cos
// (cos 0 = 1 and sin 0 = +-0 exactly, so the sum is amp_cos to the bit), and
// the sine and cosine are spared.
static inline double periodic_term(double multiplier, double mu, double amp_cos, double amp_sin) {
  if (multiplier == 0.0) return amp_cos;
  const double arg = multiplier * mu;
  return amp_cos * std::cos(arg) + amp_sin * std::sin(arg);
}

// Kepler's equation in the eccentric longitude F:
//   L = F - k sin F + h cos F,   L = lambda reduced by fmod(lambda, 2pi).
// Given:    lambda  mean longitude, radians (any value)
//           k, h    e cos(varpi), e sin(varpi); sqrt(k^2 + h^2) < 1
//           beta    1 / (1 + sqrt(1 - e^2))
// Returned: cos_l, sin_l  cosine and sine of the true longitude in the orbit
//           rho           r / a
//           failed        true when the residual is still 1e-12 rad or more
//                         after 10 corrections; cos_l, sin_l, rho untouched
// The start value treats L as the mean anomaly; Newton's corrections remove
// the error that makes.
static void kepler_solve(double lambda, double k, double h, double beta, double& cos_l,
                         double& sin_l, double& rho, bool& failed) {
  const double l = fmod_two_pi(lambda);
  const double e = std::sqrt(k * k + h * h);
  double f = l + e * (1.0 - e * e / 8.0) * std::sin(l) +
             e * e * (std::sin(2.0 * l) / 2.0 + 3.0 / 8.0 * e * std::sin(3.0 * l));
  double c;         // cos F
  double s;         // sin F
  double big_h;     // k sin F - h cos F
  double rho_f;     // 1 - (k cos F + h sin F) = r / a
  for (int pass = 1;; ++pass) {
    c = std::cos(f);
    s = std::sin(f);
    const double g = k * c + h * s;
    big_h = k * s - h * c;
    const double residual = l - f + big_h;
    rho_f = 1.0 - g;
    if (std::fabs(residual) < kKeplerTolerance) break;
    if (pass == kKeplerMaxPasses) {
      failed = true;
      return;
    }
    f = f + residual / rho_f;
  }
  cos_l = (c - k + h * beta * big_h) / rho_f;
  sin_l = (s - h - k * beta * big_h) / rho_f;
  rho = rho_f;
  failed = false;
}

// State vector from the elements (two-body motion on the osculating orbit).
// Given:    a         semi-major axis, AU
//           lambda    mean longitude, radians
//           e         eccentricity, 0 <= e < 1
//           varpi     longitude of the perihelion, radians
//           inc       inclination, radians
//           node      longitude of the ascending node, radians
//           inv_mass  mass of the body over the mass of the Sun
// Returned: state     x, y, z (AU), xdot, ydot, zdot (AU/day); mean ecliptic
//                     and equinox of J2000; not written when failed
//           failed    Kepler's equation not solved
static void orbit_state(double a, double lambda, double e, double varpi, double inc, double node,
                        double inv_mass, std::array<double, 6>& state, bool& failed) {
  const double k = e * std::cos(varpi);
  const double h = e * std::sin(varpi);
  const double sin_half_inc = std::sin(inc / 2.0);
  const double q = sin_half_inc * std::cos(node);
  const double p = sin_half_inc * std::sin(node);
  const double s = std::sqrt(1.0 - h * h - k * k);  // sqrt(1 - e^2)
  const double c = std::sqrt(1.0 - p * p - q * q);  // cos(i/2)
  const double beta = 1.0 / (1.0 + s);

  double cos_l;
  double sin_l;
  double rho;
  kepler_solve(lambda, k, h, beta, cos_l, sin_l, rho, failed);
  if (failed) return;

  const double m = p * cos_l - q * sin_l;
  const double r = a * rho;
  state[0] = r * (cos_l - 2.0 * m * p);
  state[1] = r * (sin_l + 2.0 * m * q);
  state[2] = -2.0 * r * m * c;

  const double u = a * (h + sin_l) / s;
  const double v = a * (k + cos_l) / s;
  // Mean motion, radians per day; pow, not sqrt (see the head of the file).
  const double n =
      std::pow((1.0 + inv_mass) / (a * a * a), 0.5) / kArcsecPerRadian * kGaussArcsecPerDay;
  state[3] = n * ((2.0 * p * p - 1.0) * u + 2.0 * p * q * v);
  state[4] = n * ((1.0 - 2.0 * q * q) * v - 2.0 * p * q * u);
  state[5] = 2.0 * n * c * (p * u + q * v);
}

// planet_position with the base frequency factor as an argument, so that the
// arithmetic can also be run with other values of it (the tests use the
// double 0.3595362 of other implementations). Arguments otherwise as
// planet_position, whose only caller in the program it is.
static inline void planet_position_mu(const double& jd, const std::int32_t& planet,
                                      double mu_factor, double& lon, double& lat, double& r,
                                      std::array<double, 6>& state, std::int32_t& status) {
  // Inputs are copied first: an output may share storage with them.
  const double day = jd;
  const std::int32_t body = planet;
  status = 0;
  if (body < 1 || body > 8) {
    status = 1;
    return;
  }
  const int row = body - 1;
  const double t = (day - kJ2000) * kMillenniaPerDay;

  double a = polynomial(kSemiMajorAxis[row], t);
  double lambda = arcsec_polynomial(kMeanLongitude[row], t) * kArcsecToRad;
  const double e = polynomial(kEccentricity[row], t);
  const double varpi = reduce_to_circle(arcsec_polynomial(kPerihelion[row], t) * kArcsecToRad);
  const double inc = arcsec_polynomial(kInclination[row], t) * kArcsecToRad;
  const double node = reduce_to_circle(arcsec_polynomial(kNode[row], t) * kArcsecToRad);

  const double mu = mu_factor * t;
  for (int k = 0; k < 8; ++k) {
    a += periodic_term(kAMultiplier[row][k], mu, kACos[row][k], kASin[row][k]) * kAmplitudeScale;
    lambda +=
        periodic_term(kLMultiplier[row][k], mu, kLCos[row][k], kLSin[row][k]) * kAmplitudeScale;
  }
  a += t * periodic_term(kAMultiplier[row][8], mu, kACos[row][8], kASin[row][8]) *
       kAmplitudeScale;
  for (int k = 8; k < 10; ++k) {
    lambda += t * periodic_term(kLMultiplier[row][k], mu, kLCos[row][k], kLSin[row][k]) *
              kAmplitudeScale;
  }
  lambda = reduce_to_circle(lambda);

  const double inv_mass = 1.0 / kMassRatio[row];
  // orbit_state writes the state only when it succeeds.
  bool failed;
  orbit_state(a, lambda, e, varpi, inc, node, inv_mass, state, failed);
  if (failed) {
    status = 2;
    lon = 0.0;
    lat = 0.0;
    r = 0.0;
    state[0] = 0.0;
    state[1] = 0.0;
    state[2] = 0.0;
    return;
  }
  if (day > kWindowLast || day < kWindowFirst) status = 3;

  const double x = state[0];
  const double y = state[1];
  const double z = state[2];
  lon = std::atan2(y, x);
  r = std::sqrt(x * x + y * y + z * z);
  lat = std::asin(z / r);
}

void planet_position(const double& jd, const std::int32_t& planet, double& lon, double& lat,
                     double& r, std::array<double, 6>& state, std::int32_t& status) {
  planet_position_mu(jd, planet, kMuFactor, lon, lat, r, state, status);
}

}  // namespace ephemeris
