#include "search/search.h"

#include "ephemeris/Lune.h"
#include "ephemeris/geocentric.h"
#include "ephemeris/planets.h"
#include "io/stop.h"
#include "search/report.h"
#include "zodiac/angle-csn.h"
#include "zodiac/check.h"
#include "zodiac/dist.h"
#include "zodiac/order.h"
#include "zodiac/sravn.h"

namespace search {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kDopusk = 0.08726646259971647;  // 5 degrees
constexpr double kUndetermined = 100.0;
constexpr double kOrderTolerance = 1.5;  // degrees, second comparison
constexpr std::int32_t kProgressStep = 36525;

// The horoscope's body (report order, 0-based) of each slot.
constexpr int kBodyOfSlot[7] = {6, 5, 0, 4, 3, 2, 1};
// Planets after the Sun, in the order they are computed.
constexpr std::int32_t kPlanetOrder[5] = {zodiac::SATURN, zodiac::JUPITER, zodiac::MARS,
                                          zodiac::VENUS, zodiac::MERCURY};

// Is a longitude (radians) inside the slot's stretch widened by dopusk?
// The limits are passed as copies, since the test rewrites them.
std::int32_t fits(const Run& run, int slot, double& lon) {
  double lower = run.lower_rad[slot - 1];
  double upper = run.upper_rad[slot - 1];
  return zodiac::arc_contains(lon, lower, upper, kDopusk);
}

void keep_position(Run& run, int slot, double deg) {
  run.pos_deg[slot - 1] = deg;
  run.dist_deg[slot - 1] = zodiac::arc_distance(run.pos_deg[slot - 1], run.best_deg[slot - 1]);
}

// The order verdict of a fitting day: sets ird and irdD.
void check_order(Run& run) {
  if (run.ird == -1) {
    run.irdD = 0;
    return;
  }
  std::int32_t groups;
  zodiac::planet_order(run.pos_deg, run.iund, run.ipr, 0.0, run.order_now, groups);
  if (groups == 1) {
    run.ird = 0;
    return;
  }
  zodiac::compare_orders(run.iund, run.ipr, run.order_best, run.order_now, run.ird);
  if (run.ird != 0 && run.ird != 1) {
    write_order_error("ERROR!!! ird= ", run.ird);
    io::stop();
  }
  if (run.ird == 1) {
    zodiac::planet_order(run.pos_deg, run.iund, run.ipr, kOrderTolerance, run.order_tol, groups);
    if (groups == 1) {
      run.irdD = 0;
    } else {
      zodiac::compare_orders(run.iund, run.ipr, run.order_best, run.order_tol, run.irdD);
      run.irdD = run.irdD * 10;
      if (run.irdD != 0 && run.irdD != 10) {
        write_order_error("ERROR!!! irdD= ", run.irdD);
        io::stop();
      }
    }
  }
}

void progress(const SearchSpan& span, double day) {
  const std::int32_t n = static_cast<std::int32_t>(day - span.first_day);
  if (n % kProgressStep == 0) write_progress(span, n / kProgressStep);
}

}  // namespace

void prepare_run(Horoscope& h, const SearchSpan& span, Run& run) {
  write_start_banner();
  run.iund.fill(0);
  run.undetermined = 0;
  for (int slot = 1; slot <= 7; ++slot) {
    const int b = kBodyOfSlot[slot - 1];
    run.lower_rad[slot - 1] = zodiac::longitude_of_cs(h.lower[b]);
    run.upper_rad[slot - 1] = zodiac::longitude_of_cs(h.upper[b]);
    if (h.best[b] < kUndetermined) {
      run.best_deg[slot - 1] = zodiac::longitude_of_cs(h.best[b]) * kRadToDeg;
    } else {
      ++run.undetermined;
      run.iund[slot - 1] = 1;
      write_not_determined(slot);
    }
  }
  run.ipr = 0;
  for (int slot = 7; slot >= 1; --slot)
    if (run.iund[slot - 1] == 0) run.ipr = slot;
  if (run.ipr == 0) {
    write_iund_error();
    io::stop();
  }
  run.ird = 100;
  if (run.undetermined >= 5) run.ird = -1;
  std::int32_t groups;
  zodiac::planet_order(run.best_deg, run.iund, run.ipr, 0.0, run.order_best, groups);
  if (groups == 1) run.ird = -1;
  write_preamble(span, run.lower_rad, run.upper_rad);
}

bool examine_day(Run& run, double day) {
  if (run.ird != -1) run.ird = 100;
  run.irdD = 0;

  // The Sun: the Earth's heliocentric direction reversed.
  double lon, lat, r;
  std::array<double, 6> earth, planet;
  std::int32_t status;
  ephemeris::planet_position(day, 3, lon, lat, r, earth, status);
  double lambda = ephemeris::sun_longitude(earth);
  if (fits(run, zodiac::SUN, lambda) == 0) return false;
  keep_position(run, zodiac::SUN, lambda * kRadToDeg);

  for (const std::int32_t slot : kPlanetOrder) {
    ephemeris::planet_position(day, slot, lon, lat, r, planet, status);
    if (status == 1) io::stop(" Wrong planet index");
    if (status == 2) io::stop(" Error in Kepler equation");
    lambda = ephemeris::planet_longitude(planet, earth);
    if (fits(run, slot, lambda) == 0) return false;
    keep_position(run, slot, lambda * kRadToDeg);
  }

  const double T = (day - kJ2000) * kCenturiesPerDay;
  double moon_deg, moon_lat, moon_dist;
  ephemeris::moon_longitude(T, moon_deg, moon_lat, moon_dist);
  double moon_rad = moon_deg * kDegToRad;
  const std::int32_t i_OK = fits(run, zodiac::MOON, moon_rad);
  if (i_OK == 0) return false;
  keep_position(run, zodiac::MOON, moon_deg);
  if (i_OK != 1) io::stop("ERROR: i_OK is wrong");

  check_order(run);
  run.irdX = run.irdD + run.ird;

  double sum = 0;
  int count = 0;
  for (int slot = 1; slot <= 7; ++slot) {
    if (run.iund[slot - 1] != 0) continue;
    sum += run.dist_deg[slot - 1];
    ++count;
  }
  write_day_report(day, run.pos_deg, run.irdX, sum / count);
  return true;
}

void search_days_reference(Run& run, const SearchSpan& span, double first_day, double last_day) {
  for (double day = first_day - 1.0; day < last_day;) {
    day += 1.0;
    examine_day(run, day);
    progress(span, day);
  }
}

[[noreturn]] void run_search(Horoscope& h, const SearchSpan& span) {
  Run run;
  prepare_run(h, span, run);
  search_days(run, span, span.first_day, span.last_day);
  write_closing();
  io::stop();
}

}  // namespace search
