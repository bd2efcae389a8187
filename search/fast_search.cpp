// The day loop the program uses. It writes exactly what the straightforward
// loop writes, but visits only the days on which every body may fit.
//
// A body outside its widened stretch on day D cannot be inside it before it
// has moved by its distance d from the stretch, and it moves by at most v per
// day (see kMaxDailyMotion), so the days D + 1 .. D + floor(d / v) - 1 cannot
// fit and are passed over. Each day that is not passed over is examined by
// examine_day(), the very routine of the straightforward loop; the progress
// lines of the passed-over days are written in their place in day order.
// Nothing is written for a day that does not fit, and no stop can arise on
// one: arc_contains cannot stop for longitudes of [0, 2 pi) and limits from
// longitude_of_cs, and Kepler's equation is solved on every day of the span.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "ephemeris/Lune.h"
#include "ephemeris/geocentric.h"
#include "ephemeris/planets.h"
#include "search/motion.h"
#include "search/report.h"
#include "search/search.h"
#include "zodiac/check.h"

namespace search {
namespace {

constexpr double kDopusk = 0.08726646259971647;
constexpr double kJ2000 = 2451545.0;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;
constexpr double kDegToRad = 0.017453292519943295;
constexpr std::int32_t kProgressStep = 36525;
// Rounding allowance on a distance in radians (the normalisations of the
// stretch use the single-precision 2 pi, 1.7e-7 above the double one).
constexpr double kDistanceSlack = 1e-6;

// The stretch of a body as arc_contains tests it: the widened, normalised
// limits, or the whole circle, or (limits equal after widening) nothing.
struct Stretch {
  bool whole = false;
  bool empty = false;
  double lower = 0, upper = 0;  // radians
};

Stretch stretch_of(const Run& run, int slot) {
  Stretch s;
  double angle = 0, lower = run.lower_rad[slot - 1], upper = run.upper_rad[slot - 1];
  if (lower == upper) {
    s.whole = true;
    return s;
  }
  zodiac::arc_contains(angle, lower, upper, kDopusk);  // leaves the limits as it tests them
  s.lower = lower;
  s.upper = upper;
  s.empty = lower == upper;
  return s;
}

// Days during which a body now at `angle` (radians, outside the stretch)
// certainly stays outside, counting today: at least 1.
double days_outside(const Stretch& s, double angle, double max_motion) {
  if (s.empty) return HUGE_VAL;
  double ahead = s.lower - angle;  // forward to the start of the stretch
  if (ahead < 0) ahead += ephemeris::kTwoPiDouble;
  double behind = angle - s.upper;  // back to its end
  if (behind < 0) behind += ephemeris::kTwoPiDouble;
  const double d = std::min(ahead, behind) - kDistanceSlack;
  return std::max(1.0, std::floor(d / max_motion));
}

struct Filter {
  Stretch stretch[7];
  double max_motion[7];  // radians per day, by slot
  double next_day[7];    // first day on which the body may be inside
  bool planets_whole;    // the Sun's and every planet's stretch is the whole circle
};

// Tests one body on `day` at `angle`; when it is outside, records how long it stays so.
bool inside(Filter& f, const Run& run, int slot, double day, double angle) {
  double a = angle, lower = run.lower_rad[slot - 1], upper = run.upper_rad[slot - 1];
  if (zodiac::arc_contains(a, lower, upper, kDopusk) != 0) return true;
  f.next_day[slot - 1] = day + days_outside(f.stretch[slot - 1], angle, f.max_motion[slot - 1]);
  return false;
}

// May every body fit on `day`? Computes the Sun and all planets (not only up
// to the first that fails, so that every failing body gets its own bound),
// and the Moon only when all of them are inside. Bodies whose stretch is the
// whole circle are not computed (nor the Earth, when none is needed).
bool may_fit(Filter& f, const Run& run, double day) {
  bool all = true;
  if (!f.planets_whole) {
    double lon, lat, r;
    std::array<double, 6> earth, planet;
    std::int32_t status;
    ephemeris::planet_position(day, 3, lon, lat, r, earth, status);
    all = inside(f, run, zodiac::SUN, day, ephemeris::sun_longitude(earth));
    for (const std::int32_t slot : {zodiac::SATURN, zodiac::JUPITER, zodiac::MARS, zodiac::VENUS,
                                    zodiac::MERCURY}) {
      if (f.stretch[slot - 1].whole) continue;
      ephemeris::planet_position(day, slot, lon, lat, r, planet, status);
      if (status == 1 || status == 2) return true;  // let the examination stop as it must
      all = inside(f, run, slot, day, ephemeris::planet_longitude(planet, earth)) && all;
    }
  }
  if (!all || f.stretch[zodiac::MOON - 1].whole) return all;
  const double T = (day - kJ2000) * kCenturiesPerDay;
  double moon_deg, moon_lat, moon_dist;
  ephemeris::moon_longitude(T, moon_deg, moon_lat, moon_dist);
  return inside(f, run, zodiac::MOON, day, moon_deg * kDegToRad);
}

}  // namespace

void search_days(Run& run, const SearchSpan& span, double first_day, double last_day) {
  // The motion bound holds for whole days of the 50-century span only.
  if (first_day != std::floor(first_day) || first_day < kSpan50.first_day ||
      last_day > kSpan50.last_day)
    return search_days_reference(run, span, first_day, last_day);
  Filter f;
  for (int slot = 1; slot <= 7; ++slot) {
    f.stretch[slot - 1] = stretch_of(run, slot);
    f.max_motion[slot - 1] = max_daily_motion(slot);
    f.next_day[slot - 1] = first_day;
  }
  f.planets_whole = true;
  for (int slot = 1; slot <= 6; ++slot) f.planets_whole = f.planets_whole && f.stretch[slot - 1].whole;
  // Progress lines: the next day that carries one.
  double next_progress =
      span.first_day + std::ceil((first_day - span.first_day) / kProgressStep) * kProgressStep;
  auto progress_through = [&](double day) {
    for (; next_progress <= day && next_progress <= last_day; next_progress += kProgressStep)
      write_progress(span, static_cast<std::int32_t>(next_progress - span.first_day) / kProgressStep);
  };

  double day = first_day;
  while (day <= last_day) {
    const double candidate = *std::max_element(f.next_day, f.next_day + 7);
    if (candidate > day) {
      day = candidate;
      continue;
    }
    if (may_fit(f, run, day)) {
      progress_through(day - 1.0);
      examine_day(run, day);
    }
    progress_through(day);
    day += 1.0;
  }
  progress_through(last_day);
}

}  // namespace search
