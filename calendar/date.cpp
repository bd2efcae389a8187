#include "calendar/date.h"

#include <array>

#include "io/stop.h"

namespace calendar {
namespace {

// The tables keep their 1-based entry numbers in the comments; in code entry
// e is element e - 1. Every walk starts at entry 2 and stops at the first
// entry >= the value sought, so a value equal to an entry belongs to the
// period that ends there.

// Entry i (1..70): Julian day number of the last day before the century that
// begins with year -4700 + 100 (i - 1). Every century has 36525 days, since
// every century year is a leap year in this calendar.
constexpr std::array<std::int32_t, 70> make_century_base() {
  std::array<std::int32_t, 70> t{};
  for (int i = 0; i < 70; ++i) t[i] = 4382 + 36525 * i;
  return t;
}
constexpr std::array<std::int32_t, 70> century_base = make_century_base();
static_assert(century_base[0] == 4382);      // 31 December -4701
static_assert(century_base[67] == 2451557);  // before 1 January 2000
static_assert(century_base[69] == 2524607);  // 31 December 2199

// Entry j (1..100): days from the start of a century to the start of its year
// j - 1. Year 0 of the century and every fourth year after it have 366 days.
constexpr std::array<std::int32_t, 100> make_year_offset() {
  std::array<std::int32_t, 100> t{};
  for (int j = 1; j < 100; ++j) t[j] = t[j - 1] + ((j - 1) % 4 == 0 ? 366 : 365);
  return t;
}
constexpr std::array<std::int32_t, 100> year_offset = make_year_offset();
static_assert(year_offset[1] == 366 && year_offset[2] == 731 && year_offset[3] == 1096);
static_assert(year_offset[4] == 1461 && year_offset[5] == 1827 && year_offset[99] == 36160);

// Days of the year before the first of each month, January to December.
constexpr std::array<std::int32_t, 12> month_offset_common = {0,   31,  59,  90,  120, 151,
                                                              181, 212, 243, 273, 304, 334};
constexpr std::array<std::int32_t, 12> month_offset_leap = {0,   31,  60,  91,  121, 152,
                                                            182, 213, 244, 274, 305, 335};

// 1-based number of the entry before the first entry, from entry 2 on, that
// is >= value; the last entry's number when there is none.
template <std::size_t N>
int walk(const std::array<std::int32_t, N>& table, std::int32_t value) {
  for (std::size_t e = 2; e <= N; ++e) {
    if (table[e - 1] >= value) return static_cast<int>(e - 1);
  }
  return static_cast<int>(N);
}

}  // namespace

void jd_to_calendar(const double& jd, std::int32_t& year, std::int32_t& month, std::int32_t& day) {
  // Written so that a NaN is refused too instead of reaching the conversion.
  if (!(jd >= 4383.0)) io::stop("SUBROUTINE DATE: year must be >=-4700!");
  if (jd >= 2524608.0) io::stop("SUBROUTINE DATE: year must be <=+2200!");

  const auto n = static_cast<std::int32_t>(jd);  // truncation; jd > 0 here

  const int i = walk(century_base, n);  // always found: entry 70 is the last valid day
  const std::int32_t c = n - century_base[i - 1];  // day of the century, 1..36525

  const int j = walk(year_offset, c);
  const std::int32_t y = -4700 + 100 * (i - 1) + (j - 1);
  const std::int32_t d = c - year_offset[j - 1];  // day of the year, 1..366

  // The remainder takes the sign of the year, so -4700, -4 and 0 are leap years.
  const auto& offsets = (y % 4 == 0) ? month_offset_leap : month_offset_common;
  const int m = walk(offsets, d);

  year = y;
  month = m;
  day = d - offsets[m - 1];
}

}  // namespace calendar
