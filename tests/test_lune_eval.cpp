// Evaluation of the lunar series on series set up directly in memory.

#include <cmath>
#include <cstring>
#include <numbers>

#include <gtest/gtest.h>

#include "ephemeris/Lune.h"

namespace {

using ephemeris::lunar_series;
using ephemeris::moon_longitude;

constexpr double kPi = std::numbers::pi;

void clear_series() { std::memset(&lunar_series, 0, sizeof lunar_series); }

// A term of A sin(pi/2) = A whatever T: phase pi/2, no rate.
void set_pert(int c, int j, double a, double phi0 = kPi / 2, double phi1 = 0.0) {
  lunar_series.pert_amp[c][j] = a;
  lunar_series.pert_phase[c][j][0] = phi0;
  lunar_series.pert_phase[c][j][1] = phi1;
}

// A few terms in every coordinate, for checks that need non-trivial sums.
void small_series() {
  clear_series();
  const double amp[3] = {22639.5, 18461.2, -20905.3};
  for (int c = 0; c < 3; ++c) {
    lunar_series.main_count[c] = 2;
    lunar_series.main_amp[c][0] = amp[c];
    lunar_series.main_amp[c][1] = amp[c] / 10;
    const double ph0[5] = {2.355, 8399.68, 1.6e-4, 2.5e-7, -1.2e-9};
    const double ph1[5] = {5.198, 7771.38, -2.8e-5, 3.2e-8, -1.5e-10};
    for (int k = 0; k < 5; ++k) {
      lunar_series.main_phase[c][0][k] = ph0[k];
      lunar_series.main_phase[c][1][k] = ph1[k];
    }
    lunar_series.pert_count[c][0] = 1;
    lunar_series.pert_count[c][1] = 1;
    set_pert(c, 0, 14.2, 0.3, 8328.7);
    set_pert(c, 1, 0.5, 1.1, 628.3);
  }
  lunar_series.main_phase[2][0][0] += kPi / 2;
}

// With every block empty the Moon sits at its mean longitude W1 on the
// ecliptic: at T = 0, 785939.95571" = 218.31665436388889 degrees.
TEST(LuneEvaluation, EmptySeriesAtJ2000GivesTheMeanLongitude) {
  clear_series();
  double lon = -1, lat = -1, dist = -1;
  moon_longitude(0.0, lon, lat, dist);
  EXPECT_NEAR(lon, 785939.95571 / 3600.0, 1e-11);
  EXPECT_EQ(lat, 0.0);
  EXPECT_EQ(dist, 0.0);
}

// fmod keeps the sign of the dividend: before J2000 W1 is negative and so is
// V; the longitude is still brought into [0, 360).
TEST(LuneEvaluation, LongitudeStaysInRangeFarBeforeAndAfterJ2000) {
  const double T_625500 = (625500.0 - 2451545.0) * 2.7378507871321012e-05;
  const double times[] = {T_625500, -49.9, -37.31, -10.0, -1.0, -1e-9, 0.0,
                          1e-9,     0.5,   1.0,    10.0,  25.7, 49.99};
  for (bool empty : {true, false}) {
    if (empty)
      clear_series();
    else
      small_series();
    for (double T : times) {
      double lon, lat, dist;
      moon_longitude(T, lon, lat, dist);
      EXPECT_GE(lon, 0.0) << "T = " << T << (empty ? " empty" : " terms");
      EXPECT_LT(lon, 360.0) << "T = " << T << (empty ? " empty" : " terms");
    }
  }
  clear_series();
  double V0, U0, R0;
  ephemeris::lunar_series_sum(0.0, V0, U0, R0);
  EXPECT_EQ(V0, 785939.95571);  // more than half a turn, left as it is
  // At T = -0.5 the remainder is below minus half a turn (-1061733").
  for (double T : {-1.0, -0.5, T_625500}) {
    double V, U, R;
    ephemeris::lunar_series_sum(T, V, U, R);
    // W1 in long double, reduced towards zero by whole turns.
    const long double w1 = 785939.95571L + 1732559343.73604L * T - 5.8883L * T * T +
                           0.006604L * T * T * T - 3.169e-05L * T * T * T * T;
    const long double rem = w1 - 1296000.0L * std::trunc(w1 / 1296000.0L);
    EXPECT_LT(V, 0.0) << "T = " << T;
    EXPECT_GT(V, -1296000.0) << "T = " << T;
    EXPECT_NEAR(V, static_cast<double>(rem), 1e-3) << "T = " << T;
  }
}

// Sums: main problem with its phase polynomial, perturbations times T^p.
// Latitude and distance carry no mean longitude, so the sums show plainly.
TEST(LuneEvaluation, SumsMainProblemAndPowersOfT) {
  clear_series();
  for (int c = 1; c < 3; ++c) {
    lunar_series.main_count[c] = 1;
    lunar_series.main_amp[c][0] = 3.0;
    const double ph[5] = {0.1, 0.2, 0.3, 0.4, 0.5};
    std::memcpy(lunar_series.main_phase[c][0], ph, sizeof ph);
    lunar_series.pert_count[c][0] = 1;
    lunar_series.pert_count[c][1] = 2;
    lunar_series.pert_count[c][2] = 1;
    set_pert(c, 0, 2.0);
    set_pert(c, 1, 0.5);
    set_pert(c, 2, 0.25, 0.0, 1.0);  // 0.25 sin(T)
    set_pert(c, 3, 0.125);
  }
  struct Case {
    double T, want;
  };
  // 3 sin(0.1 + 0.2T + 0.3T^2 + 0.4T^3 + 0.5T^4) + 2 + (0.5 + 0.25 sin T) T + 0.125 T^2
  const Case cases[] = {
      {0.0, 3 * std::sin(0.1) + 2},
      {2.0, 3 * std::sin(12.9) + 2 + (0.5 + 0.25 * std::sin(2.0)) * 2 + 0.5},
      {-3.0, 3 * std::sin(0.1 - 0.6 + 2.7 - 10.8 + 40.5) + 2 + (0.5 + 0.25 * std::sin(-3.0)) * -3 +
                 1.125},
  };
  for (const Case& cs : cases) {
    double V, U, R;
    ephemeris::lunar_series_sum(cs.T, V, U, R);
    EXPECT_NEAR(U, cs.want, 1e-13) << "T = " << cs.T;
    EXPECT_NEAR(R, cs.want, 1e-13) << "T = " << cs.T;
  }
  // A count below 1 contributes nothing.
  lunar_series.main_count[1] = 0;
  lunar_series.main_count[2] = -1;
  double V, U, R;
  ephemeris::lunar_series_sum(0.0, V, U, R);
  EXPECT_EQ(U, 2.0);
  EXPECT_EQ(R, 2.0);
}

// At T = 0 the ecliptic of date is that of J2000: longitude and latitude
// are V and U turned into degrees. Elsewhere the rotation keeps the length.
TEST(LuneEvaluation, RotationIsTheIdentityAtJ2000AndKeepsUnitLength) {
  small_series();
  double V, U, R;
  ephemeris::lunar_series_sum(0.0, V, U, R);
  double lon, lat, dist;
  moon_longitude(0.0, lon, lat, dist);
  EXPECT_NEAR(lon, std::fmod(V / 3600.0 + 720.0, 360.0), 1e-11);
  EXPECT_NEAR(lat, U / 3600.0, 1e-12);
  EXPECT_EQ(dist, R);

  for (double T : {-50.0, -3.3, 0.0, 0.7, 20.0}) {
    double u[3], r;
    ephemeris::lunar_direction_j2000(T, u, r);
    EXPECT_NEAR(u[0] * u[0] + u[1] * u[1] + u[2] * u[2], 1.0, 4e-16) << "T = " << T;
  }
}

}  // namespace
