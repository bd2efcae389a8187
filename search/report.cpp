#include "search/report.h"

#include <string>

#include "calendar/date.h"
#include "io/format.h"
#include "io/list.h"
#include "io/units.h"
#include "zodiac/csn.h"

namespace search {
namespace {

constexpr int kReport = 3;
constexpr int kInput = 4;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDopusk = 0.08726646259971647;

constexpr const char* kHeader1 = "       SUN   MOON  SATURN  JUPITER  MARS  VENUS";
constexpr const char* kHeader2 = "   MERCURY";
// Slots in report order: SUN, MOON, SATURN, JUPITER, MARS, VENUS, MERCURY.
constexpr int kReportSlots[7] = {zodiac::SUN,  zodiac::MOON,  zodiac::SATURN, zodiac::JUPITER,
                                 zodiac::MARS, zodiac::VENUS, zodiac::MERCURY};

const std::string kDashes(40, '-');
const io::Format kFromDeg("(X,'from: ',F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
const io::Format kToDeg("(X,'to:   ',F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
const io::Format kDopuskLine("('         (with dopusk = ',F4.1,' degrees)')");
const io::Format kDate("(X,'YEAR/MONTH/DAY= ',I6,'/ ',I2,'/ ',I2)");
const io::Format kDateAgain("(X,'                 YEAR/MONTH/DAY= ',I6,'/',I2,'/',I2)");
const io::Format kRow("(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
const io::Format kNotDetermined("(X,'ORDER OF PLANETS  NOT DETERMINED BY BEST POINTS')");
const io::Format kPrecisely("(X,' = = = = = = = =  ORDER IS OK  +++++++ (precisely)')");
const io::Format kWithin("(X,' ORDER IS OK  +++++++ (with ',F4.1,' deg accuracy)')");
const io::Format kDifferent("(X,'DIFFERENT ORDER OF PLANETS')");
const io::Format kAverage("(X,'AVERAGE DISTANCE FROM BEST POINTS:  ',F5.1,' deg')");

// Seven values by slot, written in report order.
void write_slot_row(int unit, const io::Format& f, const zodiac::SlotDoubles& v, double scale) {
  double r[7];
  for (int k = 0; k < 7; ++k) r[k] = v[kReportSlots[k] - 1] * scale;
  io::write_fmt(unit, f, r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
}

void write_row(int unit, const double (&r)[7]) {
  io::write_fmt(unit, kRow, r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
}

void both(const char* text) {
  io::write_list(io::console, text);
  io::write_list(kReport, text);
}

}  // namespace

void write_start_banner() {
  io::write_list(io::console, "=======      PROGRAM KAVEX STARTED     =========== ");
}

void write_not_determined(int slot) {
  static constexpr const char* kLines[7] = {
      "BEST POINT FOR MERCURY NOT DETERMINED", "BEST POINT FOR VENUS NOT DETERMINED",
      "BEST POINT FOR SUN NOT DETERMINED",     "BEST POINT FOR MARS NOT DETERMINED",
      "BEST POINT FOR JUPITER NOT DETERMINED", "BEST POINT FOR SATURN NOT DETERMINED",
      "BEST POINT FOR MOON NOT DETERMINED"};
  both(kLines[slot - 1]);
}

void write_iund_error() { both("ERROR!!! iund(ipr) .NE. 0"); }

void write_preamble(const SearchSpan& span, const zodiac::SlotDoubles& lower_rad,
                    const zodiac::SlotDoubles& upper_rad) {
  io::write_list(kReport, " ");
  io::write_list(kReport, "== CSN ON ECLIPTIC J2000 (modified 17.11.2007):==");
  io::write_list(kReport, "  ");
  io::write_list(kReport, "<31deg> ARIES <56deg> TAURUS <92deg> GEMINI");
  io::write_list(kReport, "<118deg> CANCER <137deg> LEO <172deg> VIRGO");
  io::write_list(kReport, "<215deg> LIBRA <239deg> SCORPIO");
  io::write_list(kReport, "<266deg> SAGITTARIUS <296deg> CAPRICORN");
  io::write_list(kReport, "<326deg> AQUARIUS <349deg> PISCES");
  io::write_list(kReport, " ");
  io::write_list(kReport, "---- HOROSCOPE ON ECLIPTIC J2000 (IN DEGREES): -----");
  io::write_list(kReport, kHeader1, kHeader2);
  write_slot_row(kReport, kFromDeg, lower_rad, kRadToDeg);
  write_slot_row(kReport, kToDeg, upper_rad, kRadToDeg);
  io::write_list(kReport, std::string(52, '='));
  io::write_list(kReport, "  ");
  io::write_list(kReport, "  ");
  io::write_list(kReport, "           RESULTS OF CALCULATIONS");
  io::write_list(kReport, span.years_text);
  io::write_fmt(kReport, kDopuskLine, kDopusk * kRadToDeg);
  io::write_list(kReport, "  ");
}

void write_day_report(double day, const zodiac::SlotDoubles& pos_deg, std::int32_t irdX,
                      double average) {
  const std::int32_t jd = static_cast<std::int32_t>(day);
  std::int32_t year, month, mday;
  calendar::jd_to_calendar(day, year, month, mday);

  for (int unit : {io::console, kReport}) io::write_list(unit, kDashes);
  for (int unit : {io::console, kReport}) io::write_list(unit, "PLANETS FIT THE HOROSCOPE AT JD: ", jd);
  for (int unit : {io::console, kReport}) io::write_fmt(unit, kDate, year, month, mday);
  both(" ");
  both("      Positions: J2000/ planet-Sun J2000/ CS:");
  both(" ");
  for (int unit : {io::console, kReport}) io::write_list(unit, kHeader1, kHeader2);

  double row[7];
  for (int k = 0; k < 7; ++k) row[k] = pos_deg[kReportSlots[k] - 1];
  for (int unit : {io::console, kReport}) write_row(unit, row);
  // Relative to the Sun: a plain difference, not reduced.
  const double sun = pos_deg[zodiac::SUN - 1];
  row[0] = 0.0;
  for (int k = 1; k < 7; ++k) row[k] = pos_deg[kReportSlots[k] - 1] - sun;
  for (int unit : {io::console, kReport}) write_row(unit, row);
  // On the scale; the conversion may move its argument, so it gets a copy.
  for (int k = 0; k < 7; ++k) {
    double lon = pos_deg[kReportSlots[k] - 1];
    row[k] = zodiac::cs_of_longitude(lon);
  }
  for (int unit : {io::console, kReport}) write_row(unit, row);

  // The order verdict: report file first, then the console.
  switch (irdX) {
    case -1:
      io::write_fmt(kReport, kNotDetermined);
      break;
    case 0:
    case 1:
    case 11:
      for (int unit : {kReport, io::console}) {
        io::write_list(unit, " ");
        if (irdX == 0) io::write_fmt(unit, kPrecisely);
        if (irdX == 1) io::write_fmt(unit, kWithin, 1.5);
        if (irdX == 11) io::write_fmt(unit, kDifferent);
      }
      break;
    default:
      for (int unit : {kReport, io::console}) io::write_list(unit, "ERROR!!!!  irdX =  ", irdX);
      break;
  }
  for (int unit : {kReport, io::console}) {
    io::write_list(unit, " ");
    io::write_fmt(unit, kAverage, average);
  }
  for (int unit : {io::console, kReport}) io::write_fmt(unit, kDateAgain, year, month, mday);
  for (int unit : {io::console, kReport}) io::write_list(unit, kDashes);
}

void write_progress(const SearchSpan& span, std::int32_t n) {
  io::write_list(io::console, n, span.progress_text);
}

void write_order_error(std::string_view label, std::int32_t value) {
  io::write_list(kReport, label, value);
}

void write_closing() {
  io::write_list(kReport, "  ");
  io::write_list(kReport, "           END OF CALCULATIONS.");
  io::close(kReport);
  io::close(kInput);
}

}  // namespace search
