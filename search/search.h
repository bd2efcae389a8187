// The date search: run preparation, the day loop, the verdict codes.
#pragma once

#include <cstdint>

#include "search/horoscope.h"
#include "search/span.h"
#include "zodiac/slots.h"

namespace search {

// Working state of a run, by slot (Mercury, Venus, Sun, Mars, Jupiter,
// Saturn, Moon). Angles: *_rad radians, *_deg degrees, ecliptic of J2000.
struct Run {
  zodiac::SlotDoubles lower_rad{};
  zodiac::SlotDoubles upper_rad{};
  zodiac::SlotDoubles best_deg{};  // unset for a best point that is not determined
  zodiac::SlotDoubles pos_deg{};
  zodiac::SlotDoubles dist_deg{10000, 10000, 10000, 10000, 10000, 10000, 10000};
  zodiac::SlotInts iund{};
  zodiac::SlotInts order_best{}, order_now{}, order_tol{};
  std::int32_t ipr = 0;
  std::int32_t ird = 0;
  std::int32_t irdD = 0;
  std::int32_t irdX = 0;
  std::int32_t undetermined = 0;
};

// Run preparation: the start banner, the limits and best points as
// longitudes (the horoscope's values above 12 are reduced in place), the
// not-determined lines, the reference body, the order of the best points and
// the report preamble. Stops when no best point is determined.
void prepare_run(Horoscope& h, const SearchSpan& span, Run& run);

// Examine one day (Julian day, fraction .0): compute the bodies in the fixed
// order Sun, Saturn, Jupiter, Mars, Venus, Mercury, Moon, leaving at the first
// one outside its widened stretch; on a day on which all fit, decide the order
// verdict and write the day's report. Returns true when the day fits.
bool examine_day(Run& run, double day);

// The straightforward day loop: every day from first_day to last_day, with a
// progress line on every day whose distance from span.first_day is a multiple
// of 36525.
void search_days_reference(Run& run, const SearchSpan& span, double first_day, double last_day);

// The day loop the program uses: the same report and stops as the reference
// loop, visiting only the days on which every body may fit.
void search_days(Run& run, const SearchSpan& span, double first_day, double last_day);

// The whole run: preparation, the day loop over the span, the closing lines,
// the plain stop.
[[noreturn]] void run_search(Horoscope& h, const SearchSpan& span);

}  // namespace search
