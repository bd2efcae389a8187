// The search report: run preparation lines, the day report for each order
// verdict, progress and closing lines. Expected lines are written by hand
// from the report's formats; the numbers in them are worked out in comments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "search/report.h"
#include "search/search.h"
#include "support.h"

using testsupport::Sandbox;

namespace {

const std::string kDashes(40, '-');

// Positions by slot (Mercury, Venus, Sun, Mars, Jupiter, Saturn, Moon).
const zodiac::SlotDoubles kPos = {271.9, 241.6, 280.0, 327.9, 25.2, 40.4, 223.3};

// The console lines of the day report of JD 2451545 (1999/12/19) with kPos
// and an average distance of 12.345; `verdict` holds the verdict lines.
std::vector<std::string> day_console(const std::vector<std::string>& verdict) {
  std::vector<std::string> v = {
      kDashes,
      "PLANETS FIT THE HOROSCOPE AT JD:     2451545",
      "YEAR/MONTH/DAY=   1999/ 12/ 19",
      " ",
      "      Positions: J2000/ planet-Sun J2000/ CS:",
      " ",
      "       SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY",
      // report order SUN MOON SATURN JUPITER MARS VENUS MERCURY
      "     280.0  223.3   40.4    25.2   327.9  241.6   271.9",
      // minus the Sun: 0 (".0"), -56.7, -239.6 and -254.8 too wide, 47.9, -38.4, -8.1
      "        .0  -56.7  *****   *****    47.9  -38.4    -8.1",
      // scale: 8 + 13.444/30, 6 + 7.744/24, (40.4-31.556)/25, 11 + (385.2-349.556)/42,
      // 10 + 1.344/23, 7 + 2.044/27, 8 + 5.344/30
      "       8.4    6.3     .4    11.8    10.1    7.1     8.2",
  };
  v.insert(v.end(), verdict.begin(), verdict.end());
  v.push_back(" ");
  v.push_back("AVERAGE DISTANCE FROM BEST POINTS:   12.3 deg");
  v.push_back("                 YEAR/MONTH/DAY=   1999/12/19");
  v.push_back(kDashes);
  return v;
}

std::string as_console(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}
std::string as_file(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += " " + l + "\r\n";
  return s;
}

struct VerdictCase {
  std::int32_t irdX;
  std::vector<std::string> file_lines;     // verdict lines in the report file
  std::vector<std::string> console_lines;  // verdict lines on the console
};

TEST(DayReport, EachVerdictOnBothDestinations) {
  const std::vector<VerdictCase> cases = {
      {-1, {"ORDER OF PLANETS  NOT DETERMINED BY BEST POINTS"}, {}},
      {0,
       {" ", " = = = = = = = =  ORDER IS OK  +++++++ (precisely)"},
       {" ", " = = = = = = = =  ORDER IS OK  +++++++ (precisely)"}},
      {1,
       {" ", " ORDER IS OK  +++++++ (with  1.5 deg accuracy)"},
       {" ", " ORDER IS OK  +++++++ (with  1.5 deg accuracy)"}},
      {11, {" ", "DIFFERENT ORDER OF PLANETS"}, {" ", "DIFFERENT ORDER OF PLANETS"}},
      {5, {"ERROR!!!!  irdX =            5"}, {"ERROR!!!!  irdX =            5"}},
  };
  for (const VerdictCase& c : cases) {
    Sandbox box;
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    search::write_day_report(2451545.0, kPos, c.irdX, 12.345);
    EXPECT_EQ(box.console(), as_console(day_console(c.console_lines))) << "irdX " << c.irdX;
    EXPECT_EQ(box.file("otvet.txt"), as_file(day_console(c.file_lines))) << "irdX " << c.irdX;
  }
}

TEST(DayReport, YearOfTheFiftyCenturySpanIsRightAligned) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  search::write_day_report(625500.0, kPos, -1, 0.0);
  const auto lines = testsupport::console_lines(box.console());
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(lines[1], "PLANETS FIT THE HOROSCOPE AT JD:      625500");
  EXPECT_EQ(lines[2], "YEAR/MONTH/DAY=  -3000/  7/ 11");
}

TEST(DayReport, RowsShowRoundingAndWidePositions) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  // Sun at 210. Moon 359.96: 360.0 in the row, 149.96 ahead of the Sun;
  // Saturn 60: -150.0 is too wide for F5.1; Jupiter 200: -10.0.
  const zodiac::SlotDoubles pos = {210, 210, 210, 210, 200, 60, 359.96};
  search::write_day_report(2451545.0, pos, -1, 0.0);
  const auto lines = testsupport::console_lines(box.console());
  ASSERT_GT(lines.size(), 9u);
  EXPECT_EQ(lines[7], "     210.0  360.0   60.0   200.0   210.0  210.0   210.0");
  EXPECT_EQ(lines[8], "        .0  150.0  *****   -10.0      .0     .0      .0");
}

// ---- run preparation ----------------------------------------------------------

TEST(RunPreparation, NotDeterminedLinesPreambleAndLimitsInDegrees) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  search::Horoscope h;
  // Report order SUN MOON SATURN JUPITER MARS VENUS MERCURY.
  h.lower = {10.5, 0, 2, 4, 6, 8, 11.5};
  h.upper = {11.5, 1, 3, 5, 7, 9, 0.5};
  h.best = {11, 100, 100, 100, 100, 100, 0.25};
  search::Run run;
  search::prepare_run(h, search::kSpan25, run);
  // Slot order: Venus, Mars, Jupiter, Saturn, Moon are not determined.
  EXPECT_EQ(box.console(),
            "=======      PROGRAM KAVEX STARTED     =========== \n"
            "BEST POINT FOR VENUS NOT DETERMINED\n"
            "BEST POINT FOR MARS NOT DETERMINED\n"
            "BEST POINT FOR JUPITER NOT DETERMINED\n"
            "BEST POINT FOR SATURN NOT DETERMINED\n"
            "BEST POINT FOR MOON NOT DETERMINED\n");
  // Limits: boundary + width x fraction, e.g. 10.5 -> 326.556 + 23/2 = 338.056,
  // 11.5 -> 349.556 + 21 - 360 = 10.556, 0.5 -> 31.556 + 12.5 = 44.056.
  const std::vector<std::string> expected = {
      "BEST POINT FOR VENUS NOT DETERMINED",
      "BEST POINT FOR MARS NOT DETERMINED",
      "BEST POINT FOR JUPITER NOT DETERMINED",
      "BEST POINT FOR SATURN NOT DETERMINED",
      "BEST POINT FOR MOON NOT DETERMINED",
      " ",
      "== CSN ON ECLIPTIC J2000 (modified 17.11.2007):==",
      "  ",
      "<31deg> ARIES <56deg> TAURUS <92deg> GEMINI",
      "<118deg> CANCER <137deg> LEO <172deg> VIRGO",
      "<215deg> LIBRA <239deg> SCORPIO",
      "<266deg> SAGITTARIUS <296deg> CAPRICORN",
      "<326deg> AQUARIUS <349deg> PISCES",
      " ",
      "---- HOROSCOPE ON ECLIPTIC J2000 (IN DEGREES): -----",
      "       SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY",
      "from: 338.1   31.6   92.6   137.6   215.6  266.6    10.6",
      "to:    10.6   56.6  118.6   172.6   239.6  296.6    44.1",
      std::string(52, '='),
      "  ",
      "  ",
      "           RESULTS OF CALCULATIONS",
      "        From year -500 to year +2000",
      "        (with dopusk =  5.0 degrees)",
      "  ",
  };
  EXPECT_EQ(box.file("otvet.txt"), as_file(expected));
  EXPECT_EQ(run.ird, -1);  // five best points missing: no order check
  EXPECT_EQ(run.ipr, zodiac::MERCURY);
  EXPECT_EQ(run.iund, (zodiac::SlotInts{0, 1, 0, 1, 1, 1, 1}));
}

TEST(RunPreparation, NoBestPointAtAllStopsBeforeTheSearch) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  search::Horoscope h;
  h.best = {100, 100, 100, 100, 100, 100, 100};
  search::Run run;
  try {
    search::prepare_run(h, search::kSpan25, run);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Plain);
  }
  const std::string lines =
      "BEST POINT FOR MERCURY NOT DETERMINED\nBEST POINT FOR VENUS NOT DETERMINED\n"
      "BEST POINT FOR SUN NOT DETERMINED\nBEST POINT FOR MARS NOT DETERMINED\n"
      "BEST POINT FOR JUPITER NOT DETERMINED\nBEST POINT FOR SATURN NOT DETERMINED\n"
      "BEST POINT FOR MOON NOT DETERMINED\nERROR!!! iund(ipr) .NE. 0\n";
  EXPECT_EQ(box.console(), "=======      PROGRAM KAVEX STARTED     =========== \n" + lines);
  std::string file;
  for (const auto& l : testsupport::console_lines(lines)) file += " " + l + "\r\n";
  EXPECT_EQ(box.file("otvet.txt"), file);
}

TEST(RunPreparation, FourMissingKeepTheOrderCheckAndOneGroupTurnsItOff) {
  {
    Sandbox box;
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    search::Horoscope h;
    h.best = {1, 2, 3, 100, 100, 100, 100};
    search::Run run;
    search::prepare_run(h, search::kSpan25, run);
    EXPECT_EQ(run.ird, 100);
    EXPECT_EQ(run.ipr, zodiac::SUN);
  }
  {
    Sandbox box;
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    search::Horoscope h;
    h.best = {1, 1, 13, 100, 100, 100, 100};  // 13 is 1 again: one group
    search::Run run;
    search::prepare_run(h, search::kSpan25, run);
    EXPECT_EQ(run.ird, -1);
  }
}

TEST(RunPreparation, NegativeLimitStopsWithTheScaleMessage) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  search::Horoscope h;
  h.lower[6] = -0.5;  // Mercury, the first slot
  search::Run run;
  try {
    search::prepare_run(h, search::kSpan25, run);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Message);
    EXPECT_EQ(s.text, "ANGLE ----1");
  }
}

TEST(Progress, LineAndClosing) {
  Sandbox box;
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  search::write_progress(search::kSpan25, 24);
  search::write_progress(search::kSpan50, 0);
  search::write_closing();
  EXPECT_EQ(box.console(),
            "         24 centuries from 25 done(-500 -> +2000)\n"
            "          0 centuries from 50 done(-3000 -> +2000)\n");
  EXPECT_EQ(testsupport::read_file(box.dir() + "/otvet.txt"), "   \r\n            END OF CALCULATIONS.\r\n");
  EXPECT_FALSE(io::is_open(3));
}

}  // namespace
