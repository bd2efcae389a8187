// planet_position: checked against ERFA's eraPlan94 (tests/data/planets_erfa.txt),
// the J2000 elements of the tables, and its status contract.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <limits>
#include <string>
#include <vector>

#include "ephemeris/planets.h"
#include "planets_reference.h"

namespace {

using ephemeris::planet_position;
using planets_test::ReferenceRow;

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180.0;

struct Result {
  double lon = 0.0;
  double lat = 0.0;
  double r = 0.0;
  std::array<double, 6> state{};
  std::int32_t status = -1;
};

Result position(double jd, std::int32_t planet) {
  Result out;
  planet_position(jd, planet, out.lon, out.lat, out.r, out.state, out.status);
  return out;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class PlanetsErfa : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = planets_test::load_reference();
    ASSERT_EQ(rows_.size(), 8u * 34u) << "tests/data/planets_erfa.txt missing or unreadable";
  }
  std::vector<ReferenceRow> rows_;
};

// ERFA forms the base frequency of the periodic terms with the double
// 0.3595362, this module with the single-precision value widened; over
// 1000..3000 AD that moves positions by up to 1.6e-8 AU (Saturn, Uranus), and
// by up to 8.5e-8 AU at the far dates (Saturn, 5 millennia before J2000).
// Velocities move by up to 3.5e-11 and 1.3e-10 AU/day.
TEST_F(PlanetsErfa, StatesAgreeWithinTheBaseFrequencyDifference) {
  double worst_pos[2] = {0.0, 0.0};
  double worst_vel[2] = {0.0, 0.0};
  for (const ReferenceRow& row : rows_) {
    const Result got = position(row.jd, row.planet);
    const int far = planets_test::near_window(row.jd) ? 0 : 1;
    const double pos_tol = far ? 1e-7 : 2e-8;
    const double vel_tol = far ? 3e-10 : 1e-10;
    const double dp = planets_test::distance(got.state, row.v, 0);
    const double dv = planets_test::distance(got.state, row.v, 3);
    EXPECT_EQ(got.status, row.status) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(dp, pos_tol) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(dv, vel_tol) << "jd " << row.jd << " planet " << row.planet;
    worst_pos[far] = std::fmax(worst_pos[far], dp);
    worst_vel[far] = std::fmax(worst_vel[far], dv);
  }
  RecordProperty("worst_position_AU_1000_3000", planets_test::short_text(worst_pos[0]));
  RecordProperty("worst_position_AU_far", planets_test::short_text(worst_pos[1]));
  RecordProperty("worst_velocity_AU_per_day_1000_3000", planets_test::short_text(worst_vel[0]));
  RecordProperty("worst_velocity_AU_per_day_far", planets_test::short_text(worst_vel[1]));
}

// lon, lat and r against the same quantities formed from ERFA's position:
// the angles to the position tolerance over r, lon always in (-pi, pi] with
// the sign of y.
TEST_F(PlanetsErfa, LongitudeLatitudeDistanceMatchReference) {
  int negative_lon = 0;
  for (const ReferenceRow& row : rows_) {
    const Result got = position(row.jd, row.planet);
    const double x = row.v[0], y = row.v[1], z = row.v[2];
    const double r = std::sqrt(x * x + y * y + z * z);
    const double tol = planets_test::near_window(row.jd) ? 2e-8 : 1e-7;
    double dlon = got.lon - std::atan2(y, x);
    if (dlon > kPi) dlon -= 2.0 * kPi;
    if (dlon < -kPi) dlon += 2.0 * kPi;
    EXPECT_LE(std::fabs(got.r - r), tol) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(std::fabs(dlon) * r, tol) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(std::fabs(got.lat - std::asin(z / r)) * r, tol)
        << "jd " << row.jd << " planet " << row.planet;
    EXPECT_GT(got.lon, -kPi);
    EXPECT_LE(got.lon, kPi);
    EXPECT_EQ(got.lon < 0.0, y < 0.0) << "jd " << row.jd << " planet " << row.planet;
    if (got.lon < 0.0) ++negative_lon;
  }
  EXPECT_GT(negative_lon, 50);  // the table does exercise the lower half
}

// A result must come out bit for bit alike whatever was computed before it:
// no state survives a call.
TEST_F(PlanetsErfa, NoStateBetweenCalls) {
  std::vector<Result> forward;
  for (const ReferenceRow& row : rows_) forward.push_back(position(row.jd, row.planet));
  for (std::size_t i = rows_.size(); i-- > 0;) {
    const Result again = position(rows_[i].jd, rows_[i].planet);
    for (int c = 0; c < 6; ++c) EXPECT_TRUE(same_bits(again.state[c], forward[i].state[c]));
    EXPECT_TRUE(same_bits(again.lon, forward[i].lon));
    EXPECT_EQ(again.status, forward[i].status);
  }
}

// Every output, bit for bit, against the arithmetic written again in Python
// (tools/make_planets_bits.py): the order of operations, the constants and
// how they are formed, the reductions, and the readings c2*(t*t), a*a*a and
// pow(x, 0.5), with rows on days where the other readings give other bits.
TEST(Planets, OutputsMatchTheSeparateImplementationBitForBit) {
  const auto rows = planets_test::load_table<9>("planets_bits.txt");
  ASSERT_EQ(rows.size(), 8u * 46u + 16u) << "tests/data/planets_bits.txt missing or unreadable";
  int mismatches = 0;
  for (const auto& row : rows) {
    const Result got = position(row.jd, row.planet);
    const double values[9] = {got.lon,      got.lat,      got.r,        got.state[0], got.state[1],
                              got.state[2], got.state[3], got.state[4], got.state[5]};
    EXPECT_EQ(got.status, row.status) << "jd " << row.jd << " planet " << row.planet;
    for (int c = 0; c < 9; ++c) {
      if (!same_bits(values[c], row.v[c]) && ++mismatches <= 20) {
        ADD_FAILURE() << "jd " << row.jd << " planet " << row.planet << " value " << c
                      << std::setprecision(17) << ": got " << values[c] << ", want " << row.v[c];
      }
    }
  }
  EXPECT_EQ(mismatches, 0) << "values that differ (the first 20 are listed)";
}

TEST(Planets, WrongIndexWritesOnlyTheStatus) {
  const std::int32_t bad[] = {0, 9, -1, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()};
  for (std::int32_t planet : bad) {
    double lon = 11.0, lat = 12.0, r = 13.0;
    std::array<double, 6> state = {21.0, 22.0, 23.0, 24.0, 25.0, 26.0};
    std::int32_t status = 7;
    planet_position(2451545.0, planet, lon, lat, r, state, status);
    EXPECT_EQ(status, 1) << "planet " << planet;
    EXPECT_EQ(lon, 11.0);
    EXPECT_EQ(lat, 12.0);
    EXPECT_EQ(r, 13.0);
    for (int c = 0; c < 6; ++c) EXPECT_EQ(state[c], 21.0 + c) << "planet " << planet;
  }
}

// The window is closed at both ends; outside it every body gets status 3
// with a full result (the values themselves are checked against ERFA above).
TEST(Planets, DateWindowStatus) {
  struct Case {
    double jd;
    std::int32_t status;
  };
  const Case cases[] = {
      {2086307.5, 0}, {2817151.5, 0}, {2451545.0, 0},    {2086307.4, 3},
      {2817151.6, 3}, {625500.0, 3},  {1000000.0, 3},    {3000000.0, 3},
  };
  for (const Case& c : cases) {
    for (std::int32_t planet = 1; planet <= 8; ++planet) {
      const Result got = position(c.jd, planet);
      EXPECT_EQ(got.status, c.status) << "jd " << c.jd << " planet " << planet;
      EXPECT_GT(got.r, 0.3) << "jd " << c.jd << " planet " << planet;
      EXPECT_NE(got.state[3], 0.0) << "jd " << c.jd << " planet " << planet;
    }
  }
}

// Osculating elements recovered from position and velocity by the two-body
// relations (vis-viva, angular momentum, eccentricity vector) with the
// module's gravitational parameter k^2 (1 + mass / mass of the Sun). They
// come back to within rounding (1e-13 or better), while Kepler's equation
// itself is solved only to 1e-12 radian.
struct Elements {
  double a, lambda, e, varpi, inc, node;  // AU, radians
};

Elements elements_of(const std::array<double, 6>& s, double mass_ratio) {
  const double gauss = 3548.1876069651 / 206264.80624709636;  // rad/day
  const double gm = gauss * gauss * (1.0 + 1.0 / mass_ratio);
  const double x = s[0], y = s[1], z = s[2], vx = s[3], vy = s[4], vz = s[5];
  const double r = std::sqrt(x * x + y * y + z * z);
  const double v2 = vx * vx + vy * vy + vz * vz;
  const double hx = y * vz - z * vy, hy = z * vx - x * vz, hz = x * vy - y * vx;
  const double hn = std::sqrt(hx * hx + hy * hy + hz * hz);
  Elements el{};
  el.a = 1.0 / (2.0 / r - v2 / gm);
  el.inc = std::atan2(std::sqrt(hx * hx + hy * hy), hz);
  el.node = std::atan2(hx, -hy);
  // Eccentricity vector (v x h) / gm - r / |r|.
  const double ex = (vy * hz - vz * hy) / gm - x / r;
  const double ey = (vz * hx - vx * hz) / gm - y / r;
  const double ez = (vx * hy - vy * hx) / gm - z / r;
  el.e = std::sqrt(ex * ex + ey * ey + ez * ez);
  // Perihelion angle from the node in the orbit plane; n is the node
  // direction, m = h x n / |h| the in-plane normal to it.
  const double nx = std::cos(el.node), ny = std::sin(el.node);
  const double mx = -hz * ny / hn, my = hz * nx / hn, mz = (hx * ny - hy * nx) / hn;
  el.varpi = el.node + std::atan2(ex * mx + ey * my + ez * mz, ex * nx + ey * ny);
  // Mean anomaly from the eccentric anomaly.
  const double cos_e = (1.0 - r / el.a) / el.e;
  const double sin_e = (x * vx + y * vy + z * vz) / (el.e * std::sqrt(gm * el.a));
  const double big_e = std::atan2(sin_e, cos_e);
  el.lambda = el.varpi + big_e - el.e * std::sin(big_e);
  return el;
}

double angle_difference(double a, double b) { return std::remainder(a - b, 2.0 * kPi); }

// At J2000 t = 0 and mu = 0: every element is its c0 (degrees for the angles),
// a gains the sum of the first eight cosine amplitudes (1e-7 AU) and lambda
// the sum of the first eight cosine amplitudes (1e-7 rad); sines and the
// terms multiplied by t vanish.
TEST(Planets, ElementsAtJ2000) {
  struct Case {
    std::int32_t planet;
    double mass_ratio;
    double a, lambda, e, varpi, inc, node;
  };
  const double as = 1e-7;
  const Case cases[] = {
      {1, 6023600.0, 0.3870983098 + (4 - 13 + 11 - 9 - 9 - 3 - 1 + 4) * as,
       252.25090552 * kDeg + (21 - 95 - 157 + 41 - 5 + 42 + 23 + 30) * as, 0.2056317526,
       77.45611904 * kDeg, 7.00498625 * kDeg, 48.33089304 * kDeg},
      {2, 408523.5, 0.72332982 + (-156 + 59 - 42 + 6 + 19 - 20 - 10 - 12) * as,
       181.97980085 * kDeg + (-160 - 313 - 235 + 60 - 74 - 76 - 27 + 34) * as, 0.0067719164,
       131.563703 * kDeg, 3.39466189 * kDeg, 76.67992019 * kDeg},
      {3, 328900.5, 1.0000010178 + (64 - 152 + 62 - 8 + 32 - 41 + 19 - 11) * as,
       100.46645683 * kDeg + (-325 - 322 - 79 + 232 - 52 + 97 + 55 - 41) * as, 0.0167086342,
       102.93734808 * kDeg, 0.0, 174.87317577 * kDeg},
      {4, 3098710.0, 1.5236793419 + (124 + 621 - 145 + 208 + 54 - 57 + 30 + 15) * as,
       355.43299958 * kDeg + (2268 - 979 + 802 + 602 - 668 - 33 + 345 + 201) * as, 0.0934006477,
       336.06023395 * kDeg, 1.84972648 * kDeg, 49.55809321 * kDeg},
      {5, 1047.355,
       5.2026032092 + (-23437 - 2634 + 6601 + 6259 - 1507 - 1821 + 2620 - 2115) * as,
       34.35151874 * kDeg + (7610 - 4997 - 7689 - 5841 - 2617 + 1115 - 748 - 607) * as,
       0.0484979255, 14.33120687 * kDeg, 1.30326698 * kDeg, 100.46440702 * kDeg},
      {6, 3498.5,
       9.5549091915 + (62911 - 119919 + 79336 + 17814 - 24241 + 12068 + 8306 - 4893) * as,
       50.0774443 * kDeg + (-18549 + 30125 + 20012 - 730 + 824 + 23 + 1289 - 352) * as,
       0.0555481426, 93.05723748 * kDeg, 2.48887878 * kDeg, 113.66550252 * kDeg},
      {7, 22869.0,
       19.2184460618 + (389061 - 262125 - 44088 + 8387 - 22976 - 2093 - 615 - 9720) * as,
       314.05500511 * kDeg + (-135245 - 14594 + 4197 - 4030 - 5630 - 2898 + 2540 - 306) * as,
       0.0463812221, 173.00529106 * kDeg, 0.77319689 * kDeg, 74.00595701 * kDeg},
      {8, 19314.0,
       30.1103868694 + (-412235 - 157046 - 31430 + 37817 - 9740 - 13 - 7449 + 9644) * as,
       304.34866548 * kDeg + (89948 + 2103 + 8963 + 2695 + 3682 + 1648 + 866 - 154) * as,
       0.009455747, 48.12027554 * kDeg, 1.76995259 * kDeg, 131.78405702 * kDeg},
  };
  for (const Case& c : cases) {
    const Result got = position(2451545.0, c.planet);
    ASSERT_EQ(got.status, 0);
    const Elements el = elements_of(got.state, c.mass_ratio);
    EXPECT_NEAR(el.a, c.a, 1e-13 * c.a) << "planet " << c.planet;
    EXPECT_NEAR(el.e, c.e, 1e-14) << "planet " << c.planet;
    EXPECT_NEAR(el.inc, c.inc, 1e-14) << "planet " << c.planet;
    EXPECT_NEAR(angle_difference(el.varpi, c.varpi), 0.0, 1e-12) << "planet " << c.planet;
    EXPECT_NEAR(angle_difference(el.lambda, c.lambda), 0.0, 2e-12) << "planet " << c.planet;
    if (c.inc != 0.0) {  // the node of an orbit in the ecliptic is undefined
      EXPECT_NEAR(angle_difference(el.node, c.node), 0.0, 1e-13) << "planet " << c.planet;
    }
  }
}

// The barycentre's inclination is exactly 0 at J2000 (c0 = 0), so z and its
// rate vanish there, and a day away z is a few 1e-9 AU. Its lon + pi is the
// Sun's geocentric longitude the programs form: 280.3822 degrees by the
// low-precision solar formula, good to 0.01 degree (mean longitude 280.46646,
// mean anomaly 357.52911, equation of centre -0.0843 at J2000); the
// barycentre's offset from the Earth moves it by at most 0.002 degree.
TEST(Planets, EarthMoonBarycentreAtJ2000) {
  const Result j2000 = position(2451545.0, 3);
  ASSERT_EQ(j2000.status, 0);
  EXPECT_EQ(j2000.state[2], 0.0);
  EXPECT_EQ(j2000.state[5], 0.0);
  EXPECT_EQ(j2000.lat, 0.0);
  for (double jd : {2451544.0, 2451546.0}) {
    const Result near = position(jd, 3);
    EXPECT_GT(std::fabs(near.state[2]), 1e-10) << jd;
    EXPECT_LT(std::fabs(near.state[2]), 1e-8) << jd;
  }
  double sun = j2000.lon + kPi;
  if (sun >= 2.0 * kPi) sun -= 2.0 * kPi;
  EXPECT_NEAR(sun / kDeg, 280.3822, 0.01);
}

// A date that is not a number cannot be solved: status 2, lon, lat, r and the
// position zeroed, the rates left as they were.
TEST(Planets, UnsolvableDateReportsKeplerFailure) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  for (double jd : bad) {
    double lon = 11.0, lat = 12.0, r = 13.0;
    std::array<double, 6> state = {21.0, 22.0, 23.0, 24.0, 25.0, 26.0};
    std::int32_t status = 7;
    planet_position(jd, 4, lon, lat, r, state, status);
    EXPECT_EQ(status, 2) << jd;
    EXPECT_EQ(lon, 0.0);
    EXPECT_EQ(lat, 0.0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(state[0], 0.0);
    EXPECT_EQ(state[1], 0.0);
    EXPECT_EQ(state[2], 0.0);
    EXPECT_EQ(state[3], 24.0);
    EXPECT_EQ(state[4], 25.0);
    EXPECT_EQ(state[5], 26.0);
  }
}

// The search steps through Julian days 625500 .. 2451545 and stops on status
// 2; Kepler's equation must be solved for its six bodies on every day of it
// (checked here every 97 days, for Uranus and Neptune as well).
TEST(Planets, KeplerSolvedOverTheSearchSpan) {
  int calls = 0;
  for (double jd = 625500.0; jd <= 2451545.0; jd += 97.0) {
    for (std::int32_t planet = 1; planet <= 8; ++planet) {
      const Result got = position(jd, planet);
      ASSERT_TRUE(got.status == 0 || got.status == 3) << "jd " << jd << " planet " << planet;
      ++calls;
    }
  }
  EXPECT_GT(calls, 150000);
}

}  // namespace
