// The bound on daily motion that lets the search pass over days: measured
// again over every day of the 50-century span, it must not exceed the
// recorded measurement on which the bound (plus its margin) rests.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "ephemeris/Lune.h"
#include "ephemeris/geocentric.h"
#include "ephemeris/planets.h"
#include "search/motion.h"
#include "support.h"
#include "zodiac/slots.h"

namespace {

double turn_difference(double a, double b) {  // degrees, the shorter way
  double d = std::fabs(a - b);
  return d > 180 ? 360 - d : d;
}

TEST(MotionBounds, NoBodyMovesFasterThanRecordedOverTheWholeSpan) {
  testsupport::Sandbox box;
  if (!testsupport::load_real_series()) GTEST_SKIP() << "SERIES85 not available";
  constexpr double kRadToDeg = 57.29577951308232;
  std::array<double, 7> prev{}, most{};
  int kepler_failures = 0;
  for (double day = 625500.0; day <= 2451545.0; day += 1.0) {
    std::array<double, 7> now{};
    double lon, lat, r;
    std::array<double, 6> earth, planet;
    std::int32_t status;
    ephemeris::planet_position(day, 3, lon, lat, r, earth, status);
    now[zodiac::SUN - 1] = ephemeris::sun_longitude(earth) * kRadToDeg;
    for (int slot : {1, 2, 4, 5, 6}) {
      ephemeris::planet_position(day, slot, lon, lat, r, planet, status);
      if (status == 1 || status == 2) ++kepler_failures;
      now[slot - 1] = ephemeris::planet_longitude(planet, earth) * kRadToDeg;
    }
    const double T = (day - 2451545.0) * 2.7378507871321012e-05;
    double mlat, mdist;
    ephemeris::moon_longitude(T, now[zodiac::MOON - 1], mlat, mdist);
    if (day > 625500.0)
      for (int k = 0; k < 7; ++k) most[k] = std::max(most[k], turn_difference(now[k], prev[k]));
    prev = now;
  }
  EXPECT_EQ(kepler_failures, 0);  // the search never meets an unsolved Kepler equation
  for (int k = 0; k < 7; ++k) {
    std::printf("slot %d: largest daily motion %.17g deg\n", k + 1, most[k]);
    EXPECT_LE(most[k], search::kMeasuredDailyMotionDeg[k]) << "slot " << k + 1;
    EXPECT_GE(search::max_daily_motion(k + 1) * kRadToDeg, most[k] * 1.04) << "slot " << k + 1;
  }
}

}  // namespace
