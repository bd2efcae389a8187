// The file-local parts of module planets: the base frequency factor, the
// arithmetic run with ERFA's factor, and Kepler's equation at its iteration
// limit. This target compiles ephemeris/planets.cpp itself (it does not link
// kav_ephemeris) to reach the routines that are private to it.
#include "ephemeris/planets.cpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "planets_reference.h"

namespace {

using planets_test::ReferenceRow;

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(PlanetsInternal, BaseFrequencyIsTheWidenedSinglePrecisionValue) {
  EXPECT_TRUE(same_bits(ephemeris::kMuFactor, static_cast<double>(0.3595362f)));
  EXPECT_TRUE(same_bits(ephemeris::kMuFactor, 0.35953620076179504));
  EXPECT_NE(ephemeris::kMuFactor, 0.3595362);
}

struct Result {
  double lon = 0.0;
  double lat = 0.0;
  double r = 0.0;
  std::array<double, 6> state{};
  std::int32_t status = -1;
};

Result position_mu(double jd, std::int32_t planet, double mu_factor) {
  Result out;
  ephemeris::planet_position_mu(jd, planet, mu_factor, out.lon, out.lat, out.r, out.state,
                                out.status);
  return out;
}

class PlanetsInternalErfa : public ::testing::Test {
 protected:
  void SetUp() override {
    rows_ = planets_test::load_reference();
    ASSERT_FALSE(rows_.empty()) << "tests/data/planets_erfa.txt missing or unreadable";
  }
  std::vector<ReferenceRow> rows_;
};

// planet_position is the factor-taking arithmetic with the widened factor,
// bit for bit; the double 0.3595362 gives other bits away from J2000.
TEST_F(PlanetsInternalErfa, PublicRoutineUsesTheWidenedFactor) {
  int differs = 0;
  for (const ReferenceRow& row : rows_) {
    Result pub;
    ephemeris::planet_position(row.jd, row.planet, pub.lon, pub.lat, pub.r, pub.state,
                               pub.status);
    const Result ours = position_mu(row.jd, row.planet, 0.35953620076179504);
    const Result erfa = position_mu(row.jd, row.planet, 0.3595362);
    for (int c = 0; c < 6; ++c) {
      EXPECT_TRUE(same_bits(pub.state[c], ours.state[c])) << "jd " << row.jd;
    }
    EXPECT_TRUE(same_bits(pub.lon, ours.lon));
    EXPECT_TRUE(same_bits(pub.lat, ours.lat));
    EXPECT_TRUE(same_bits(pub.r, ours.r));
    EXPECT_EQ(pub.status, ours.status);
    if (row.jd != 2451545.0 && erfa.state[0] != ours.state[0]) ++differs;
  }
  EXPECT_GT(differs, 200);
}

// With ERFA's factor what remains is rounding: ERFA divides by 365250 and
// evaluates the polynomials by Horner's rule, so the mean longitudes (up to
// 1e5 radians at the far dates) come out a few units in the last place
// apart; Kepler's equation is solved from the mean anomaly to another
// 1e-12; ERFA's Gaussian constant is rounded. At most 1.1e-11 AU (the
// barycentre, JD 625500) and 7.4e-13 AU/day over the whole table.
TEST_F(PlanetsInternalErfa, AgreesWithErfaToRoundingWithErfasFactor) {
  double worst_pos = 0.0;
  double worst_vel = 0.0;
  for (const ReferenceRow& row : rows_) {
    const Result got = position_mu(row.jd, row.planet, 0.3595362);
    const double dp = planets_test::distance(got.state, row.v, 0);
    const double dv = planets_test::distance(got.state, row.v, 3);
    EXPECT_EQ(got.status, row.status) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(dp, 2e-11) << "jd " << row.jd << " planet " << row.planet;
    EXPECT_LE(dv, 1e-12) << "jd " << row.jd << " planet " << row.planet;
    worst_pos = std::fmax(worst_pos, dp);
    worst_vel = std::fmax(worst_vel, dv);
  }
  RecordProperty("worst_position_AU", planets_test::short_text(worst_pos));
  RecordProperty("worst_velocity_AU_per_day", planets_test::short_text(worst_vel));
}

// Kepler's equation near e = 1, where Newton's method from this start value
// is slow. Inputs: e = 0.9, perihelion at 45 degrees, lambda = j * 2pi / 3600.
// The expected values come from bisection in the eccentric anomaly and the
// true anomaly formula; the pass counts from the same iteration run by hand
// in double precision:
//  - j = 99: residual 1.3e-9 after 9 corrections, 0 after the 10th: solved;
//  - j = 96: residual 1.1e-8 after 10 corrections (one more would reach
//    2e-16): not solved, the outputs are not written.
// A circular orbit is solved at once: F = L, true longitude = L, rho = 1.
TEST(PlanetsInternal, KeplerSolveAtTheIterationLimit) {
  struct Case {
    const char* name;
    double lambda, k, h;
    bool failed;
    double cos_l, sin_l, rho;
  };
  const double k45 = 0.6363961030678928;
  const double h45 = 0.6363961030678927;
  const Case cases[] = {
      {"10 corrections", 0.17278759594743864, k45, h45, false, -0.302753452393691,
       -0.9530689099239892, 0.9462172954062879},
      {"11 corrections needed", 0.16755160819145562, k45, h45, true, 0.0, 0.0, 0.0},
      {"circular", 2.5, 0.0, 0.0, false, std::cos(2.5), std::sin(2.5), 1.0},
      {"circular, lambda beyond 2pi", 2.5 + 6.283185307179586, 0.0, 0.0, false, std::cos(2.5),
       std::sin(2.5), 1.0},
  };
  for (const Case& c : cases) {
    const double beta = 1.0 / (1.0 + std::sqrt(1.0 - c.h * c.h - c.k * c.k));
    double cos_l = 77.0, sin_l = 78.0, rho = 79.0;
    bool failed = !c.failed;
    ephemeris::kepler_solve(c.lambda, c.k, c.h, beta, cos_l, sin_l, rho, failed);
    EXPECT_EQ(failed, c.failed) << c.name;
    if (c.failed) {
      EXPECT_EQ(cos_l, 77.0) << c.name;
      EXPECT_EQ(sin_l, 78.0) << c.name;
      EXPECT_EQ(rho, 79.0) << c.name;
    } else {
      EXPECT_NEAR(cos_l, c.cos_l, 1e-10) << c.name;
      EXPECT_NEAR(sin_l, c.sin_l, 1e-10) << c.name;
      EXPECT_NEAR(rho, c.rho, 1e-10) << c.name;
    }
  }
}

// A failure inside orbit_state leaves its state untouched.
TEST(PlanetsInternal, OrbitStateWritesNothingWhenKeplerFails) {
  std::array<double, 6> pv = {1, 2, 3, 4, 5, 6};
  bool failed = false;
  // Same orbit shape as the failing case above: e = 0.9, varpi = 45 degrees.
  ephemeris::orbit_state(1.0, 0.16755160819145562, 0.9, 0.7853981633974483, 0.1, 0.2, 0.0, pv,
                         failed);
  EXPECT_TRUE(failed);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(pv[c], c + 1.0);
}

}  // namespace
