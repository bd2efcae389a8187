// The day loop the program uses must write exactly what the straightforward
// loop writes (console and report file, byte for byte) and stop the same way,
// on every kind of horoscope.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "ephemeris/Lune.h"
#include "ephemeris/geocentric.h"
#include "ephemeris/planets.h"
#include "io/stop.h"
#include "io/units.h"
#include "search/report.h"
#include "search/search.h"
#include "support.h"
#include "zodiac/csn.h"

namespace {

using search::Horoscope;

struct Outcome {
  std::string console, report, stop;
};

using Adjust = std::function<void(search::Run&)>;

Outcome run_loop(bool fast, const Horoscope& horoscope, const search::SearchSpan& span,
                 double first, double last, const Adjust& adjust = {}) {
  testsupport::Sandbox box;
  testsupport::load_real_series();
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Outcome out;
  Horoscope h = horoscope;
  search::Run run;
  try {
    search::prepare_run(h, span, run);
    if (adjust) adjust(run);
    if (fast)
      search::search_days(run, span, first, last);
    else
      search::search_days_reference(run, span, first, last);
    search::write_closing();
  } catch (const io::Stop& s) {
    out.stop = std::to_string(static_cast<int>(s.kind)) + ":" + s.text;
  }
  out.console = box.console();
  out.report = box.file("otvet.txt");
  return out;
}

// Runs both loops; returns the number of fitting days reported.
int expect_same(const Horoscope& h, const search::SearchSpan& span, double first, double last,
                const std::string& what, const Adjust& adjust = {}) {
  const Outcome ref = run_loop(false, h, span, first, last, adjust);
  const Outcome fast = run_loop(true, h, span, first, last, adjust);
  EXPECT_EQ(fast.stop, ref.stop) << what;
  EXPECT_TRUE(fast.console == ref.console) << what << ": console differs";
  EXPECT_TRUE(fast.report == ref.report) << what << ": report file differs";
  int days = 0;
  for (std::size_t p = 0; (p = ref.report.find("PLANETS FIT", p)) != std::string::npos; ++p) ++days;
  return days;
}

class Equivalence : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(KAV_SERIES85)) GTEST_SKIP() << "SERIES85 not available";
  }
};

// Geocentric longitudes (degrees) of the bodies on a day, report order.
std::array<double, 7> positions(double day) {
  constexpr double kRadToDeg = 57.29577951308232;
  double lon, lat, r;
  std::array<double, 6> earth, planet;
  std::int32_t status;
  ephemeris::planet_position(day, 3, lon, lat, r, earth, status);
  std::array<double, 7> p{};
  p[0] = ephemeris::sun_longitude(earth) * kRadToDeg;
  const int planet_of_body[7] = {0, 0, 6, 5, 4, 2, 1};
  for (int b = 2; b < 7; ++b) {
    ephemeris::planet_position(day, planet_of_body[b], lon, lat, r, planet, status);
    p[b] = ephemeris::planet_longitude(planet, earth) * kRadToDeg;
  }
  double mlat, mdist;
  ephemeris::moon_longitude((day - 2451545.0) * 2.7378507871321012e-05, p[1], mlat, mdist);
  return p;
}

// A horoscope around the bodies' positions on `day`: each stretch `half`
// scale units either side of the body; without best points for the five
// planets unless `with_best`.
Horoscope around(double day, double half, bool with_best) {
  const auto p = positions(day);
  Horoscope h;
  for (int b = 0; b < 7; ++b) {
    double lon = p[b];
    const double cs = zodiac::cs_of_longitude(lon);
    h.lower[b] = std::fmod(cs - half + 12, 12.0);
    h.upper[b] = std::fmod(cs + half, 12.0);
    h.best[b] = with_best || b < 2 ? cs : 100.0;
  }
  return h;
}

TEST_F(Equivalence, RandomStretchesOfAllWidths) {
  std::mt19937 rng(20261211);
  std::uniform_real_distribution<double> scale(0.0, 12.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int fitting = 0;
  for (int n = 0; n < 40; ++n) {
    Horoscope h;
    for (int b = 0; b < 7; ++b) {
      h.lower[b] = scale(rng);
      // Widths from a sliver to nearly the whole circle; some whole circles.
      const double width = n % 5 == 0 ? 12.0 * unit(rng) : (b == 1 ? 6.0 : 2.5) * unit(rng) * unit(rng);
      h.upper[b] = std::fmod(h.lower[b] + width, 12.0);
      if (unit(rng) < 0.1) h.upper[b] = h.lower[b];
      h.best[b] = unit(rng) < 0.25 ? 100.0 + 50 * unit(rng) : scale(rng);
    }
    const double first = 1538432.0 + std::floor(unit(rng) * 800000);
    fitting += expect_same(h, search::kSpan25, first, first + 30000, "random " + std::to_string(n));
  }
  std::printf("fitting days reported over all random horoscopes: %d\n", fitting);
}

TEST_F(Equivalence, HoroscopesOfRealDays) {
  // Stretches around the positions of a day: that day must be reported.
  const double days[] = {1700000.0, 2000000.0, 2299160.0, 2451545.0};
  for (const double day : days) {
    for (const double half : {0.02, 0.3}) {
      for (const bool best : {true, false}) {
        const Horoscope h = around(day, half, best);
        const int n = expect_same(h, search::kSpan25, std::max(1538432.0, day - 40000), day,
                                  "day " + std::to_string(day) + " half " + std::to_string(half));
        EXPECT_GE(n, 1) << "the day itself fits";
      }
    }
  }
}

TEST_F(Equivalence, StretchesThroughTheStartOfAries) {
  Horoscope h;
  for (int b = 0; b < 7; ++b) {
    h.lower[b] = 10.5 + 0.2 * b;
    h.upper[b] = 1.5 + 0.1 * b;
    h.best[b] = 0.1 * b;
  }
  expect_same(h, search::kSpan25, 2000000.0, 2100000.0, "through ARIES");
}

TEST_F(Equivalence, EveryDayFitsWithWholeCircles) {
  Horoscope h;  // all zero: every stretch is the whole circle, best points at ARIES
  EXPECT_EQ(expect_same(h, search::kSpan25, 1538432.0 + 36525 - 3, 1538432.0 + 36525 + 3, "all fit"), 7);
  Horoscope five;
  for (int b = 2; b < 7; ++b) five.best[b] = 100;
  EXPECT_EQ(expect_same(five, search::kSpan25, 2451540.0, 2451545.0, "five missing"), 6);
}

TEST_F(Equivalence, NoFittingDayAndProgressLines) {
  // A one-day-wide Sun stretch opposite a one-day-wide Moon stretch is rare;
  // the progress lines must still come out in order over the whole span.
  Horoscope h = around(2000000.0, 0.001, true);
  h.lower[1] = std::fmod(h.lower[0] + 6, 12.0);
  h.upper[1] = std::fmod(h.upper[0] + 6, 12.0);
  expect_same(h, search::kSpan25, search::kSpan25.first_day, search::kSpan25.last_day, "25 centuries");
  expect_same(h, search::kSpan50, search::kSpan50.first_day, search::kSpan50.first_day + 200000,
              "50 centuries, start");
}

TEST_F(Equivalence, BodyExactlyOnAWidenedLimit) {
  // Limits chosen so that a body's computed longitude on day D equals the
  // widened limit bit for bit: the day fits through the "<=" of the test.
  constexpr double kDopusk = 0.08726646259971647;
  const double D = 2100000.0;
  const auto p = positions(D);
  const Horoscope h = around(D, 0.5, true);
  for (const int slot : {zodiac::SUN, zodiac::SATURN, zodiac::MOON}) {
    const int body = slot == zodiac::SUN ? 0 : slot == zodiac::SATURN ? 2 : 1;
    const double a = p[body] * 0.017453292519943295;  // the radians that arc_contains sees
    for (const bool at_lower : {true, false}) {
      // Find a limit whose widened value is exactly a.
      double limit = at_lower ? a + kDopusk : a - kDopusk;
      for (int k = 0; k < 64 && (at_lower ? limit - kDopusk : kDopusk + limit) != a; ++k)
        limit = std::nextafter(limit, ((at_lower ? limit - kDopusk : kDopusk + limit) < a) ? 10.0 : -10.0);
      ASSERT_EQ(at_lower ? limit - kDopusk : kDopusk + limit, a);
      const Adjust adjust = [&](search::Run& run) {
        if (at_lower) {
          run.lower_rad[slot - 1] = limit;
          run.upper_rad[slot - 1] = limit + 0.4;
        } else {
          run.lower_rad[slot - 1] = limit - 0.4;
          run.upper_rad[slot - 1] = limit;
        }
      };
      const int n = expect_same(h, search::kSpan25, D - 3000, D + 3000,
                                "slot " + std::to_string(slot) + (at_lower ? " lower" : " upper"), adjust);
      if (slot != zodiac::MOON) EXPECT_GE(n, 1);  // the Moon's degrees do not round-trip exactly
    }
  }
}

}  // namespace
