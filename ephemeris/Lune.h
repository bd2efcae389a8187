// Module Lune: the lunar series file SERIES85 (loading, truncation by a
// precision level) and the Moon's geocentric position from it.
#pragma once

#include <cstdint>

namespace ephemeris {

inline constexpr int kMainCapacity = 218;  // main-problem terms per coordinate
inline constexpr int kPertCapacity = 423;  // perturbation terms per coordinate, three powers

// The truncated series, filled once by load_lunar_series. Coordinates
// c = 0 longitude, 1 latitude, 2 distance; powers p = 0, 1, 2.
struct LunarSeries {
  std::int32_t main_count[3];
  std::int32_t pert_count[3][3];
  // Main problem term j of coordinate c: amplitude and phase polynomial
  // phi0 (rad) .. phi4 (rad per Julian century^k).
  double main_amp[3][kMainCapacity];
  double main_phase[3][kMainCapacity][5];
  // Perturbation terms of coordinate c, power 0 first, then 1, then 2.
  double pert_amp[3][kPertCapacity];
  double pert_phase[3][kPertCapacity][2];  // phi0 (rad), phi1 (rad per century)
};
extern LunarSeries lunar_series;

// level: 1, 2 or 3 (thresholds times 1, 50, 100; any other level is a
// program fault, std::invalid_argument). Opens SERIES85 of the working
// directory on unit 4 (it must exist), writes "    READING THE SERIES" and
// "    WAIT A MOMENT, PLEASE....." to the console, fills lunar_series (each
// block cut after its first term below the threshold, which is kept) and
// closes the unit. Failures end with the run-time error report, naming
// SERIES85: file not found (nothing is created), a file that ends early or
// holds an unreadable field (line named), a negative record count or a record
// number out of sequence (line named), more kept terms than the capacity
// (block and line named; the header count itself may be larger).
void load_lunar_series(const std::int32_t& level);

// T: Julian centuries from J2000 (TT = the day number used unchanged).
// lon: geocentric ecliptic longitude, degrees, [0, 360) (an angle within
// 3e-14 degrees below 0 rounds up to 360 itself); lat: degrees, [-90, 90];
// dist: km, the raw sum of the distance series. Mean ecliptic and equinox of
// J2000. Only reads lunar_series (load_lunar_series must have run); no status.
void moon_longitude(const double& T, double& lon, double& lat, double& dist);

// T as above. The three series sums: V, U in arc seconds on the mean ecliptic
// of date (V = fmod(W1(T), 1296000) + series, so negative for most T < 0), R in km.
void lunar_series_sum(const double& T, double& V, double& U, double& R);
// T as above. u: the Moon's unit direction vector, axes of the mean ecliptic
// and equinox of J2000; R: km, as lunar_series_sum.
void lunar_direction_j2000(const double& T, double (&u)[3], double& R);

}  // namespace ephemeris
