// Positions of the bodies on a day, computed without the project's
// ephemerides: the Sun and the planets from ERFA's eraPlan94 (the committed
// table tests/data/planets_erfa.txt), the Moon given by the caller from an
// independent evaluation of the lunar series. Also the constellation scale
// by plain interpolation in its boundary table, and F5.1 text by snprintf.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace testsupport {

// Start of each constellation in degrees: whole degrees plus 1.5555556f.
inline double boundary(int k) {
  static const int whole[12] = {30, 55, 91, 117, 136, 171, 214, 238, 265, 295, 325, 348};
  return whole[k] + static_cast<double>(1.5555556f);
}

// Scale value of a longitude in degrees, by interpolation in the table.
inline double scale_of(double lon) {
  if (lon < boundary(0)) lon += 360;
  for (int k = 0; k < 11; ++k)
    if (lon < boundary(k + 1)) return k + (lon - boundary(k)) / (boundary(k + 1) - boundary(k));
  return 11 + (lon - boundary(11)) / (boundary(0) + 360 - boundary(11));
}

// Longitude in degrees of a scale value (any real; taken modulo 12).
inline double longitude_of(double s) {
  s = std::fmod(std::fmod(s, 12.0) + 12, 12.0);
  const int k = static_cast<int>(s);
  const double next = k == 11 ? boundary(0) + 360 : boundary(k + 1);
  return std::fmod(boundary(k) + (next - boundary(k)) * (s - k), 360.0);
}

// Geocentric longitudes (degrees) in report order SUN MOON SATURN JUPITER
// MARS VENUS MERCURY on a day of the ERFA table; the Moon as given.
inline std::array<double, 7> independent_positions(double day, double moon_deg) {
  std::ifstream f(std::string(KAV_TEST_DATA) + "/planets_erfa.txt");
  std::string line;
  double x[9] = {}, y[9] = {};
  int found = 0;
  while (std::getline(f, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    double jd, z;
    int p, st;
    s >> jd >> p >> st;
    if (jd != day) continue;
    s >> x[p] >> y[p] >> z;
    ++found;
  }
  EXPECT_EQ(found, 8) << "day " << day << " not in the ERFA table";
  constexpr double kDeg = 180 / 3.141592653589793;
  auto geo = [&](int p) {
    const double l = std::atan2(y[p] - y[3], x[p] - x[3]) * kDeg;
    return l < 0 ? l + 360 : l;
  };
  double sun = std::atan2(-y[3], -x[3]) * kDeg;
  if (sun < 0) sun += 360;
  return {sun, moon_deg, geo(6), geo(5), geo(4), geo(2), geo(1)};
}

// "F5.1" of a value that is not near a rounding boundary: no leading zero.
inline std::string f51(double v) {
  const double tenths = v * 10 - std::floor(v * 10);
  EXPECT_GT(std::fabs(tenths - 0.5), 1e-3) << v << " is too near a rounding boundary";
  char b[32];
  std::snprintf(b, sizeof b, "%5.1f", v);
  std::string s = b;
  if (s.size() > 5) return "*****";
  const auto p = s.find("0.");
  if (p != std::string::npos && (p == 0 || s[p - 1] == ' ' || s[p - 1] == '-'))
    s = " " + s.substr(0, p) + s.substr(p + 1);
  return s.substr(s.size() - 5);
}

// A day-report row: "(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)".
inline std::string row(const std::array<double, 7>& v) {
  const char* gaps[7] = {"      ", "  ", "  ", "   ", "   ", "  ", "   "};
  std::string s;
  for (int k = 0; k < 7; ++k) s += gaps[k] + f51(v[k]);
  return s;
}

inline std::string number_text(double v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.17g", v);
  return b;
}

// input.txt of a horoscope around positions p, `half` scale units either side.
inline std::string input_around(const std::array<double, 7>& p, double half) {
  std::string lower = "# lower limits\n", upper = "# upper limits\n", best = "# best points\n";
  for (int b = 0; b < 7; ++b) {
    const double cs = scale_of(p[b]);
    lower += number_text(std::fmod(cs - half + 12, 12.0)) + " ";
    upper += number_text(std::fmod(cs + half, 12.0)) + " ";
    best += number_text(cs) + " ";
  }
  return "A horoscope made from the positions of one day\n" + lower + "\n" + upper + "\n" + best + "\n";
}

// Is a longitude (degrees, as printed to 0.1) inside the stretch from `lo`
// to `hi` (degrees) widened by 5 degrees, allowing for the printing?
inline bool inside_widened(double v, double lo, double hi) {
  const double width = std::fmod(hi - lo + 360, 360.0) + 10;
  const double from_lo = std::fmod(v - (lo - 5) + 720, 360.0);
  return from_lo <= width + 0.05 || from_lo >= 360 - 0.05;
}

}  // namespace testsupport
