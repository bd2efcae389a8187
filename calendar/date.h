// Module date: Julian day to a date of the Julian calendar.
#pragma once

#include <cstdint>

namespace calendar {

// jd_to_calendar
// Given:
//   jd     JulianDay; the date is that of its integer part (a date runs from
//          one noon to the next), 4383.0 <= jd < 2524608.0, i.e.
//          1 January -4700 to 31 December 2199. Read only.
// Returned:
//   year   astronomical year (year 0 exists, -1 before it), -4700 .. 2199
//   month  1 .. 12
//   day    1 .. 31
// Notes:
//   1. Julian calendar throughout, carried backwards, no reform in 1582: every
//      year divisible by 4 is a leap year, century years and negative years
//      included (-4700, -4, 0 are leap years).
//   2. Stops, with year, month and day left untouched:
//        jd < 4383.0 or jd not a number -> "SUBROUTINE DATE: year must be >=-4700!"
//        jd >= 2524608.0                -> "SUBROUTINE DATE: year must be <=+2200!"
//      1 January 2200 is already refused although the message names 2200.
void jd_to_calendar(const double& jd, std::int32_t& year, std::int32_t& month, std::int32_t& day);

}  // namespace calendar
