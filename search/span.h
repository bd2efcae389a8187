// The span of days that kavex searches: a build setting (CMake option
// KAV_SEARCH_SPAN, 25 or 50 centuries). Both end on day 2451545 (J2000).
#pragma once

#ifndef KAV_SEARCH_SPAN
#define KAV_SEARCH_SPAN 25
#endif

namespace search {

struct SearchSpan {
  double first_day;              // first Julian day searched (fraction .0)
  double last_day;               // last Julian day searched
  int centuries;                 // progress lines 0 .. centuries - 1
  const char* years_text;        // preamble line naming the span
  const char* progress_text;     // text after the progress number
};

inline constexpr SearchSpan kSpan25{1538432.0, 2451545.0, 25, "        From year -500 to year +2000",
                                    " centuries from 25 done(-500 -> +2000)"};
inline constexpr SearchSpan kSpan50{625500.0, 2451545.0, 50, "        From year -3000 to year +2000",
                                    " centuries from 50 done(-3000 -> +2000)"};

inline constexpr const SearchSpan& kSearchSpan = KAV_SEARCH_SPAN == 50 ? kSpan50 : kSpan25;

}  // namespace search
