#include "scan/scan.h"

#include <array>
#include <cstdint>
#include <string>

#include "calendar/date.h"
#include "ephemeris/Lune.h"
#include "ephemeris/geocentric.h"
#include "ephemeris/planets.h"
#include "io/format.h"
#include "io/list.h"
#include "io/menu.h"
#include "io/stop.h"
#include "io/units.h"
#include "zodiac/csn.h"

namespace scan {
namespace {

constexpr int kTable = 3;  // scan.txt
constexpr double kJ2000 = 2451545.0;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kCenturiesPerDay = 2.7378507871321012e-05;

// Columns of a row: SUN, MOON, SATURN, JUPITER, MARS, VENUS, MERCURY, URAN.
constexpr int kColumns = 8;
// The planets after the Sun and the column each one fills.
constexpr std::int32_t kPlanets[6] = {6, 5, 4, 2, 1, 7};
constexpr int kPlanetColumn[6] = {2, 3, 4, 5, 6, 7};

std::array<double, kColumns> degree_values{};  // cleared at start
std::array<double, kColumns> scale_values{};
char answer = '\0';

const std::string kHyphens(40, '-');
const io::Format kJdLine("(36X,' JD= ',F11.2)");
const io::Format kDegreeRow(
    "(X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1,10X,F5.1,X,'(deg)')");
const io::Format kScaleRow(
    "(X,F5.2,2X,F5.2,2X,F5.2,3X,F5.2,3X,F5.2,2X,F5.2,3X,F5.2,10X,F5.2,X,'(CS)')");

std::string pad44(const char* s) {
  std::string t(s);
  t.resize(44, ' ');
  return t;
}

void write_row(int unit, const io::Format& f, const std::array<double, kColumns>& v) {
  io::write_fmt(unit, f, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
}

void write_banner() {
  io::write_list(kTable, " ");
  io::write_list(kTable, "== CSN ON ECLIPTIC J2000 (modified 17.11.2007): ==");
  io::write_list(kTable, "  ");
  io::write_list(kTable, "<31deg> ARIES <56deg> TAURUS <92deg> GEMINI");
  io::write_list(kTable, "<118deg> CANCER <137deg> LEO <172deg> VIRGO");
  io::write_list(kTable, "<215deg> LIBRA <239deg> SCORPIO");
  io::write_list(kTable, "<266deg> SAGITTARIUS <296deg> CAPRICORN");
  io::write_list(kTable, "<326deg> AQUARIUS <349deg> PISCES");
  io::write_list(kTable, " ");
  io::write_list(kTable, " ");
  io::write_list(kTable, "=================  CS SCALE: ======================");
  io::write_list(kTable, "  ");
  io::write_list(kTable, "<0> ARIES <1> TAURUS <2> GEMINI <3>", " CANCER <4> LEO <5> VIRGO <6> LIBRA <7>");
  io::write_list(kTable, " ");
  io::write_list(kTable, "<7> SCORPIO <8> SAGITTARIUS <9> CAPRICORN <10>", " AQUARIUS <11> PISCES <12=0>");
  io::write_list(kTable, " ");
  io::write_list(kTable, "  ");
  io::write_list(kTable, "  ");
  io::write_list(kTable, "           RESULTS OF CALCULATIONS:");
}

// One row block for the current day.
void write_day(double day) {
  double lon, lat, r;
  std::array<double, 6> earth, planet;
  std::int32_t status;
  ephemeris::planet_position(day, 3, lon, lat, r, earth, status);
  degree_values[0] = ephemeris::sun_longitude(earth) * kRadToDeg;
  for (int k = 0; k < 6; ++k) {
    ephemeris::planet_position(day, kPlanets[k], lon, lat, r, planet, status);
    if (status == 1) io::stop(" Wrong planet index");
    if (status == 2) io::stop(" Error in Kepler equation");
    degree_values[kPlanetColumn[k]] = ephemeris::planet_longitude(planet, earth) * kRadToDeg;
  }
  const double T = (day - kJ2000) * kCenturiesPerDay;
  double moon_lat, moon_dist;
  ephemeris::moon_longitude(T, degree_values[1], moon_lat, moon_dist);

  io::write_list(kTable, kHyphens);
  io::write_fmt(kTable, kJdLine, day);
  std::int32_t year, month, mday;
  calendar::jd_to_calendar(day, year, month, mday);
  for (int unit : {io::console, kTable})
    io::write_list(unit, "YEAR/MONTH/DAY= ", year, "/", month, "/", mday);
  for (int unit : {io::console, kTable})
    io::write_list(unit, "  SUN   MOON  SATURN  JUPITER  MARS  VENUS", "   MERCURY        URAN");
  // The scale conversion normalises the degree values themselves, and the
  // degree row shows them so (a value below the start of ARIES gains 360).
  for (int k = 0; k < kColumns; ++k) scale_values[k] = zodiac::cs_of_longitude(degree_values[k]);
  for (int unit : {io::console, kTable}) write_row(unit, kDegreeRow, degree_values);
  io::write_list(kTable, " ");
  write_row(kTable, kScaleRow, scale_values);
  for (int unit : {io::console, kTable}) io::write_list(unit, kHyphens);
}

}  // namespace

void write_hints() {
  io::write_list(io::console, std::string(43, '=') + " ");
  io::write_list(io::console, pad44("      ENTER THE FIRST AND LAST JULIAN DAY"));
  io::write_list(io::console, pad44("      FOR CALCULATIONS."));
  io::write_list(io::console, std::string(44, ' '));
  io::write_list(io::console, pad44("            Julian day   990 557 -> -2000"));
  io::write_list(io::console, pad44("            Julian day 1 355 807 -> -1000"));
  io::write_list(io::console, pad44("            Julian day 1 721 057 ->  0"));
  io::write_list(io::console, pad44("            Julian day 2 086 307 -> 1000"));
  io::write_list(io::console, pad44("            Julian day 2 451 557 -> 2000"));
  io::write_list(io::console, std::string(44, '='));
}

void ask_limits(Limits& limits) {
  io::write_list(io::console, std::string(8, ' '));
  io::write_list(io::console, "Enter first day (lower limit)");
  io::read_list_of(io::console, limits.first_day);
  io::write_list(io::console, "Enter last day (upper limit)");
  io::read_list_of(io::console, limits.last_day);
  io::write_list(io::console, "Enter step in days");
  io::read_list_of(io::console, limits.step);
}

int menu() { return io::three_way_menu("        2: CHANGE LIMITS", answer); }

void write_table(const Limits& limits) {
  write_banner();
  // A step of 0 ends here with the floating-point report.
  const double quotient = (limits.last_day - limits.first_day) / limits.step;
  if (quotient >= 2147483647.0)
    io::stop("TOO MANY ROWS: (LAST DAY - FIRST DAY) / STEP MUST BE BELOW 2147483647");
  // Far below zero there is no row either; the count is not formed then.
  const std::int64_t rows =
      quotient <= -2147483648.0 ? 0 : static_cast<std::int64_t>(static_cast<std::int32_t>(quotient)) + 1;
  double day = limits.first_day - limits.step;
  for (std::int64_t k = 0; k < rows; ++k) {
    day = day + limits.step;
    write_day(day);
  }
  io::write_list(kTable, "  ");
  io::write_list(kTable, "           END OF CALCULATIONS.");
  io::close(kTable);
}

void dialogue_and_table() {
  degree_values.fill(0.0);
  write_hints();
  Limits limits;
  do {
    ask_limits(limits);
  } while (menu() == 2);
  write_table(limits);
  io::stop();
}

}  // namespace scan
