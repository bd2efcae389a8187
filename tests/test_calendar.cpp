// Julian day to Julian-calendar date: the whole accepted range against an
// independent conversion, the named dates, and the two range stops.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "calendar/date.h"
#include "io/stop.h"

namespace {

struct Date {
  std::int32_t year, month, day;
  bool operator==(const Date&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Date& d) {
  return os << d.year << '/' << d.month << '/' << d.day;
}

Date convert(double jd) {
  Date d{0, 0, 0};
  calendar::jd_to_calendar(jd, d.year, d.month, d.day);
  return d;
}

// The classic integer conversion of a Julian day number to a proleptic Julian
// calendar date (shift the epoch to 1 March -4800, count 4-year cycles of 1461
// days, then 5-month cycles of 153 days from March). Astronomical years.
Date reference_date(std::int64_t jdn) {
  const std::int64_t c = jdn + 32082;
  const std::int64_t d = (4 * c + 3) / 1461;
  const std::int64_t e = c - (1461 * d) / 4;
  const std::int64_t m = (5 * e + 2) / 153;
  return Date{static_cast<std::int32_t>(d - 4800 + m / 10),
              static_cast<std::int32_t>(m + 3 - 12 * (m / 10)),
              static_cast<std::int32_t>(e - (153 * m + 2) / 5 + 1)};
}

TEST(JdToCalendar, AgreesWithIndependentConversionOverWholeRange) {
  int mismatches = 0;
  for (std::int64_t n = 4383; n <= 2524607; ++n) {
    const Date want = reference_date(n);
    const double noon = static_cast<double>(n);
    const double late = noon + 0.999;  // still before the next noon
    const Date at_noon = convert(noon);
    const Date before_next = convert(late);
    if (at_noon != want || before_next != want) {
      if (++mismatches <= 10) {
        ADD_FAILURE() << "jd " << n << ": want " << want << ", got " << at_noon << " and "
                      << before_next << " (+0.999)";
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(JdToCalendar, NamedDates) {
  struct Case {
    double jd;
    Date want;
    const char* why;
  };
  const Case cases[] = {
      {4383.0, {-4700, 1, 1}, "first accepted day"},
      {2524607.9, {2199, 12, 31}, "last accepted day, late in it"},
      {2451545.0, {1999, 12, 19}, "J2000 in the Julian calendar"},
      {2299160.0, {1582, 10, 4}, "no reform"},
      {2299161.0, {1582, 10, 5}, "no reform"},
      {1721058.0, {0, 1, 1}, "year 0 exists"},
      {1721057.0, {-1, 12, 31}, "year before year 0"},
      {1721424.0, {1, 1, 1}, "year 1"},
      {2451544.5, {1999, 12, 18}, "the fraction is dropped"},
      {2451544.0, {1999, 12, 18}, "the fraction is dropped"},
      {2415092.0, {1900, 2, 29}, "century year is a leap year"},
      {1719656.0, {-4, 2, 29}, "negative leap year"},
      {2451831.0, {2000, 9, 30}, "month end, leap year"},
      {2451832.0, {2000, 10, 1}, "month start, leap year"},
      {2451862.0, {2000, 10, 31}, "month end, leap year"},
      {2451863.0, {2000, 11, 1}, "month start, leap year"},
      {2451466.0, {1999, 10, 1}, "month start, common year"},
      {4748.0, {-4700, 12, 31}, "last day of a century year"},
      {4749.0, {-4699, 1, 1}, "first day after a century year"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(convert(c.jd), c.want) << "jd " << c.jd << " (" << c.why << ")";
  }
}

TEST(JdToCalendar, OutOfRangeStopsWithoutWritingTheDate) {
  const std::string too_early = "SUBROUTINE DATE: year must be >=-4700!";
  const std::string too_late = "SUBROUTINE DATE: year must be <=+2200!";
  struct Case {
    double jd;
    const std::string* message;
  };
  const Case cases[] = {
      {4382.9, &too_early},
      {0.0, &too_early},
      {-1.0, &too_early},
      {-1.0e12, &too_early},
      {-std::numeric_limits<double>::infinity(), &too_early},
      {std::numeric_limits<double>::quiet_NaN(), &too_early},  // never reaches the conversion
      {2524608.0, &too_late},
      {2524608.5, &too_late},
      {1.0e12, &too_late},
      {std::numeric_limits<double>::infinity(), &too_late},
  };
  for (const Case& c : cases) {
    std::int32_t y = 77, m = 88, d = 99;
    try {
      calendar::jd_to_calendar(c.jd, y, m, d);
      ADD_FAILURE() << "jd " << c.jd << ": no stop";
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.kind, io::Stop::Kind::Message) << "jd " << c.jd;
      EXPECT_EQ(s.text, *c.message) << "jd " << c.jd;
      EXPECT_EQ(s.exit_status(), 0);
    }
    EXPECT_EQ(y, 77) << "jd " << c.jd;
    EXPECT_EQ(m, 88) << "jd " << c.jd;
    EXPECT_EQ(d, 99) << "jd " << c.jd;
  }
}

}  // namespace
