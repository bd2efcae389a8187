// Module date: Julian day to a date of the Julian calendar.
#pragma once

#include <cstdint>

namespace calendar {

// jd: Julian day (the date is that of its integer part, noon to noon),
//     4383.0 <= jd < 2524608.0 (1 January -4700 to 31 December 2199).
// year: astronomical year (year 0 exists, -1 before it), -4700 .. 2199.
// month 1..12, day 1..31. Julian calendar throughout, no reform in 1582.
// Outside the range the program stops with
//   "SUBROUTINE DATE: year must be >=-4700!" or "SUBROUTINE DATE: year must be <=+2200!"
// and the outputs are not written.
void jd_to_calendar(const double& jd, std::int32_t& year, std::int32_t& month, std::int32_t& day);

}  // namespace calendar
