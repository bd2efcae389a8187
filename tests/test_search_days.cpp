// The day loop on spans passed in-process: a horoscope made from positions
// computed independently for one day must report that day with its date,
// and every other day it reports must have every body inside its stretch.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "independent_positions.h"
#include "io/units.h"
#include "search/report.h"
#include "search/search.h"
#include "support.h"

namespace {

struct Case {
  double day;
  double moon_deg;     // level-3 value of an independent evaluation of SERIES85
  const char* date;    // the date line of the report, worked out by hand
  const search::SearchSpan* span;
};

TEST(DayLoop, ReportsTheDayAnIndependentHoroscopeWasMadeFrom) {
  testsupport::Sandbox box;
  if (!testsupport::load_real_series()) GTEST_SKIP() << "SERIES85 not available";
  const Case cases[] = {
      {625500.0, 197.76187491, " YEAR/MONTH/DAY=  -3000/  7/ 11", &search::kSpan50},
      {2451545.0, 223.31921674, " YEAR/MONTH/DAY=   1999/ 12/ 19", &search::kSpan25},
  };
  for (const Case& c : cases) {
    for (const bool fast : {false, true}) {
      testsupport::Sandbox run_box;
      testsupport::load_real_series();
      io::open(3, "otvet.txt", io::OpenMode::Replace);
      const auto p = testsupport::independent_positions(c.day, c.moon_deg);
      search::Horoscope h;
      for (int b = 0; b < 7; ++b) {
        const double cs = testsupport::scale_of(p[b]);
        h.lower[b] = std::fmod(cs - 0.3 + 12, 12.0);
        h.upper[b] = std::fmod(cs + 0.3, 12.0);
        h.best[b] = cs;
      }
      search::Run run;
      search::prepare_run(h, *c.span, run);
      const double first = std::max(c.span->first_day, c.day - 2000);
      const double last = std::min(c.span->last_day, c.day + 2000);
      if (fast)
        search::search_days(run, *c.span, first, last);
      else
        search::search_days_reference(run, *c.span, first, last);
      const auto records = testsupport::file_records(run_box.file("otvet.txt"));

      char jd_line[64];
      std::snprintf(jd_line, sizeof jd_line, " PLANETS FIT THE HOROSCOPE AT JD: %11d", static_cast<int>(c.day));
      bool found = false;
      for (std::size_t i = 0; i + 7 < records.size(); ++i) {
        if (records[i].rfind(" PLANETS FIT THE HOROSCOPE AT JD:", 0) != 0) continue;
        if (records[i] == jd_line) {
          found = true;
          EXPECT_EQ(records[i + 1], c.date);
          EXPECT_EQ(records[i + 6], testsupport::row(p));
        }
        std::istringstream s(records[i + 6]);
        for (int b = 0; b < 7; ++b) {
          double v;
          s >> v;
          EXPECT_TRUE(testsupport::inside_widened(v, testsupport::longitude_of(h.lower[b]),
                                                  testsupport::longitude_of(h.upper[b])))
              << records[i] << " body " << b;
        }
      }
      EXPECT_TRUE(found) << c.day << (fast ? " fast" : " reference");
    }
  }
}

}  // namespace
