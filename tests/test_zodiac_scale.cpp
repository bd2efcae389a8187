// Constellation scale: the boundary table, both conversions with their
// in-place effects and stops, and the round trip scale -> longitude -> scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "io/stop.h"
#include "zodiac/angle-csn.h"
#include "zodiac/csn.h"

namespace {

constexpr double pi_single = 3.1415927410125732;  // 3.1415927f widened
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Runs f, which must stop; returns the stop (a Kind::Error stand-in if none).
template <class F>
io::Stop stop_of(F&& f) {
  try {
    f();
  } catch (const io::Stop& s) {
    return s;
  }
  return {io::Stop::Kind::Error, "<no stop>"};
}

TEST(CsBoundary, WholeDegreesPlusTheSinglePrecisionOffset) {
  // Entries as printed in the scale's definition (shortest round-trip text).
  const double want[12] = {31.55555558204651,  56.55555558204651,  92.55555558204651,
                           118.55555558204651, 137.5555555820465,  172.5555555820465,
                           215.5555555820465,  239.5555555820465,  266.5555555820465,
                           296.5555555820465,  326.5555555820465,  349.5555555820465};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(zodiac::cs_boundary[k], want[k]) << "entry " << k;
}

// Radians as the conversion forms them from a longitude in degrees.
double radians_of(double deg) { return (pi_single * deg) * 0.005555555555555556; }

TEST(LongitudeOfCs, ExamplesWithTheirInPlaceReduction) {
  struct Case {
    double x, x_after, degrees;
    const char* why;
  };
  const Case cases[] = {
      {0.0, 0.0, 31.55555558204651, "start of ARIES"},
      {12.0, 12.0, 31.55555558204651, "12 is the same point as 0 and is not reduced"},
      {11.5, 11.5, 10.555555582046509, "middle of PISCES lies just after 0"},
      {11.0, 11.0, 349.5555555820465, "start of PISCES"},
      {5.25, 5.25, 183.3055555820465, "a quarter into VIRGO"},
      {0.5, 0.5, 44.05555558204651, "middle of ARIES"},
      {12.5, 0.5, 44.05555558204651, "reduced by 12 in the caller's variable"},
      {24.0, 12.0, 31.55555558204651, "reduced once, to 12"},
  };
  for (const Case& c : cases) {
    double x = c.x;
    const double rad = zodiac::longitude_of_cs(x);
    EXPECT_EQ(rad, radians_of(c.degrees)) << "x " << c.x << " (" << c.why << ")";
    EXPECT_EQ(x, c.x_after) << "x " << c.x << " (" << c.why << ")";
  }
  // Radian values given with the examples themselves.
  double x = 0.0;
  EXPECT_EQ(zodiac::longitude_of_cs(x), 0.5507483575287562);
  x = 12.0;
  EXPECT_EQ(zodiac::longitude_of_cs(x), 0.5507483575287562);
  x = 11.5;
  EXPECT_EQ(zodiac::longitude_of_cs(x), 0.18422920441062257);
}

TEST(LongitudeOfCs, Stops) {
  struct Case {
    double x, x_after;
    const char* message;
  };
  const Case cases[] = {
      {-0.1, -0.1, "ANGLE ----1"},
      {-1.0e-300, -1.0e-300, "ANGLE ----1"},
      {24.5, 12.5, "ANGLE ----2"},  // no constellation after the single reduction
      {1.0e9, 1.0e9 - 12.0, "ANGLE ----2"},
      {nan, nan, "ANGLE ----2"},
  };
  for (const Case& c : cases) {
    double x = c.x;
    const io::Stop s = stop_of([&] { zodiac::longitude_of_cs(x); });
    EXPECT_EQ(s.kind, io::Stop::Kind::Message) << "x " << c.x;
    EXPECT_EQ(s.text, c.message) << "x " << c.x;
    if (!std::isnan(c.x)) {
      EXPECT_EQ(x, c.x_after) << "x " << c.x;
    }
  }
}

TEST(CsOfLongitude, ExamplesWithTheirInPlaceNormalisation) {
  struct Case {
    double lon, lon_after, cs;
    const char* why;
  };
  const Case cases[] = {
      {0.0, 360.0, 11.248677248046512, "0 moves to the end of PISCES"},
      {360.0, 360.0, 11.248677248046512, "exactly 360 is not reduced"},
      {31.55555558204651, 31.55555558204651, 0.0, "start of ARIES"},
      {31.5, 391.5, 11.998677248046512, "still PISCES"},
      {349.5555555820465, 349.5555555820465, 11.0, "start of PISCES"},
      {10.5555555820465, 10.5555555820465 + 360.0, 11.5, "middle of PISCES"},
      {400.0, 40.0, 0.33777777671813963, "one turn removed"},
      {751.5, 391.5, 11.998677248046512, "one turn removed, still PISCES"},
      {-328.4, -328.4 + 360.0, 0.0017777767181405579, "one turn added"},
      {-328.4444444179535, 31.55555558204651, 0.0, "lowest accepted value"},
  };
  for (const Case& c : cases) {
    double lon = c.lon;
    EXPECT_EQ(zodiac::cs_of_longitude(lon), c.cs) << "lon " << c.lon << " (" << c.why << ")";
    EXPECT_EQ(lon, c.lon_after) << "lon " << c.lon << " (" << c.why << ")";
  }
  // Just below the highest limit: the last bit of PISCES, not yet 12.
  double top = std::nextafter(751.5555555820465, 0.0);
  const double cs = zodiac::cs_of_longitude(top);
  EXPECT_GT(cs, 11.99999999999999);
  EXPECT_LT(cs, 12.0);
}

TEST(CsOfLongitude, Stops) {
  struct Case {
    double lon;
    const char* message;
  };
  const Case cases[] = {
      {752.0, "CS-----1"},
      {751.5555555820465, "CS-----1"},  // first value refused above
      {1.0e6, "CS-----1"},
      {std::numeric_limits<double>::infinity(), "CS-----1"},
      {nan, "CS-----1"},
      {-328.5, "CS-----2"},
      {std::nextafter(-328.4444444179535, -1000.0), "CS-----2"},  // first value refused below
      {-1.0e6, "CS-----2"},
      {-std::numeric_limits<double>::infinity(), "CS-----2"},
  };
  for (const Case& c : cases) {
    double lon = c.lon;
    const io::Stop s = stop_of([&] { zodiac::cs_of_longitude(lon); });
    EXPECT_EQ(s.kind, io::Stop::Kind::Message) << "lon " << c.lon;
    EXPECT_EQ(s.text, c.message) << "lon " << c.lon;
  }
}

// Distance of two scale values on the circle of 12 (12 is the same point as 0).
double cyclic_gap(double x, double y) {
  const double d = std::fabs(x - y);
  return std::min(d, 12.0 - d);
}

// The round trip needs the degree value L of step 4 of longitude_of_cs, which
// it does not return. Two ways in:
//  - L rebuilt here from cs_boundary by the interpolation rule; it is the
//    routine's own L when its radians are exactly (pi * L) / 180, which is
//    checked first. From that L the scale value must come back to within 2e-15.
//  - The radians turned back into degrees (rad * 180 / pi): that adds a few
//    roundings of the degree value (below 1e-13 degrees), so the scale value
//    comes back to within 1e-14 (the narrowest constellation is 19 degrees).
TEST(ScaleRoundTrip, CsOfLongitudeUndoesLongitudeOfCs) {
  const auto& b = zodiac::cs_boundary;
  double worst_exact = 0.0, worst_back = 0.0;
  int failures = 0;
  for (int i = 0; i < 120000; ++i) {
    const double x = i / 10000.0;
    const int k = static_cast<int>(x);
    double deg = k < 11 ? b[k] + (b[k + 1] - b[k]) * (x - k)
                        : b[11] + (b[0] - b[11] + 360.0) * (x - 11.0);
    if (deg >= 360.0) deg -= 360.0;

    double xin = x;
    const double rad = zodiac::longitude_of_cs(xin);
    if (rad != (pi_single * deg) * 0.005555555555555556 && ++failures <= 5) {
      ADD_FAILURE() << "x " << x << ": radians " << rad << " are not those of " << deg << " deg";
    }

    double lon = deg;
    worst_exact = std::max(worst_exact, cyclic_gap(zodiac::cs_of_longitude(lon), x));
    double back = rad * 180.0 / pi_single;
    worst_back = std::max(worst_back, cyclic_gap(zodiac::cs_of_longitude(back), x));
  }
  EXPECT_LE(worst_exact, 2e-15);
  EXPECT_LE(worst_back, 1e-14);
}

}  // namespace
