// kav_scan run as a user runs it, and the text it must produce, built here
// from the fixed texts of the program and from positions computed with ERFA
// (tests/data/scan_positions.txt, made by tools/make_scan_reference.py).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"
#include "support.h"

namespace scantest {

namespace fs = std::filesystem;

inline const std::string kScan = std::string(KAV_BIN_DIR) + "/scan/kav_scan";

// ---- the program in a folder of its own ----------------------------------------

class ScanProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kav_scan-XXXXXX";
    dir_ = mkdtemp(tmpl);
    if (!fs::exists(KAV_SERIES85)) GTEST_SKIP() << "SERIES85 not available";
    fs::copy_file(KAV_SERIES85, dir_ + "/SERIES85");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A generous limit: a run must end by itself, never wait for more input.
  testsupport::ProcessResult run(const std::string& input, int timeout_ms = 60000) {
    return testsupport::run_process(kScan, dir_, input, timeout_ms);
  }
  std::string table_bytes() const { return testsupport::read_file(dir_ + "/scan.txt"); }
  // Records of scan.txt; every one must end with CR LF.
  std::vector<std::string> table() const {
    const std::string bytes = table_bytes();
    if (!bytes.empty() && bytes.substr(bytes.size() - 2) != "\r\n")
      ADD_FAILURE() << "scan.txt does not end with CR LF";
    std::vector<std::string> recs = testsupport::file_records(bytes);
    for (const std::string& r : recs)
      if (r.find('\n') != std::string::npos || r.find('\r') != std::string::npos)
        ADD_FAILURE() << "record with a stray line end: '" << r << "'";
    return recs;
  }

  std::string dir_;
};

// Line-by-line comparison, naming the first lines that differ.
inline void expect_lines(const std::vector<std::string>& actual,
                         const std::vector<std::string>& expected, const std::string& what) {
  const std::size_t n = std::min(actual.size(), expected.size());
  int shown = 0;
  for (std::size_t k = 0; k < n && shown < 5; ++k)
    if (actual[k] != expected[k]) {
      ADD_FAILURE() << what << " line " << k + 1 << ":\n  actual   '" << actual[k]
                    << "'\n  expected '" << expected[k] << "'";
      ++shown;
    }
  EXPECT_EQ(actual.size(), expected.size()) << what << ": number of lines";
}

// ---- reference positions -------------------------------------------------------

// One row of the reference: the day, its Julian-calendar date and the
// longitudes in degrees, [0, 360), in table order SUN MOON SATURN JUPITER
// MARS VENUS MERCURY URAN.
struct Day {
  double jd = 0;
  int year = 0, month = 0, day = 0;
  double lon[8] = {};
};

inline const std::map<double, Day>& reference() {
  static const std::map<double, Day> days = [] {
    std::map<double, Day> out;
    std::ifstream f(std::string(KAV_TEST_DATA) + "/scan_positions.txt");
    std::string line;
    while (std::getline(f, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream s(line);
      Day d;
      s >> d.jd >> d.year >> d.month >> d.day;
      for (double& v : d.lon) s >> v;
      out[d.jd] = d;
    }
    return out;
  }();
  return days;
}

inline const Day& reference_day(double jd) {
  const auto it = reference().find(jd);
  if (it == reference().end()) {
    ADD_FAILURE() << "no reference row for " << jd;
    static const Day none{};
    return none;
  }
  return it->second;
}

// ---- the scale, written out from its boundary table ----------------------------

// Start of constellation k in degrees: whole degrees plus the single-precision
// offset 1.5555556 widened to double.
inline double boundary(int k) {
  static const int whole[12] = {30, 55, 91, 117, 136, 171, 214, 238, 265, 295, 325, 348};
  return whole[k] + static_cast<double>(1.5555556f);
}

// A longitude as the degree row shows it: below the start of ARIES it is
// counted on into the next turn.
inline double shown_degrees(double lon) { return lon < boundary(0) ? lon + 360 : lon; }

// Scale value of a longitude already brought to [boundary(0), boundary(0) + 360).
inline double scale_of(double lon) {
  for (int k = 0; k < 11; ++k)
    if (lon < boundary(k + 1)) return k + (lon - boundary(k)) / (boundary(k + 1) - boundary(k));
  return 11 + (lon - boundary(11)) / (boundary(0) + 360 - boundary(11));
}

// ---- the text of the lines -------------------------------------------------------

// Fw.d as the report writes it: no digit before the point below 1, asterisks
// when the text does not fit. (Exact ties do not occur: the reference values
// keep clear of every rounding boundary.)
inline std::string f_field(double v, int w, int d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", d, v);
  std::string s = buf;
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  if (static_cast<int>(s.size()) > w) return std::string(w, '*');
  return std::string(w - s.size(), ' ') + s;
}

inline std::string blanks(int n) { return std::string(n, ' '); }

// A row of eight fields with the column gaps of the table, then the unit.
inline std::string row_line(const double (&v)[8], int decimals, const char* unit) {
  const int gap[8] = {1, 2, 2, 3, 3, 2, 3, 10};
  std::string s;
  for (int k = 0; k < 8; ++k) s += blanks(gap[k]) + f_field(v[k], 5, decimals);
  return s + " " + unit;
}

inline std::string degree_row(const Day& d) {
  double v[8];
  for (int k = 0; k < 8; ++k) v[k] = shown_degrees(d.lon[k]);
  return row_line(v, 1, "(deg)");
}

inline std::string scale_row(const Day& d) {
  double v[8];
  for (int k = 0; k < 8; ++k) v[k] = scale_of(shown_degrees(d.lon[k]));
  return row_line(v, 2, "(CS)");
}

// List-directed: the text, then the year in 11 columns, month and day in 12.
inline std::string date_line(const Day& d) {
  char buf[96];
  std::snprintf(buf, sizeof buf, " YEAR/MONTH/DAY= %11d/%12d/%12d", d.year, d.month, d.day);
  return buf;
}

inline std::string jd_line(double jd) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%11.2f", jd);
  return blanks(36) + " JD= " + buf;
}

inline const std::string kHyphens = " " + std::string(40, '-');
inline const std::string kHeader =
    "   SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY        URAN";

// The records of one day in scan.txt.
inline std::vector<std::string> file_block(const Day& d) {
  return {kHyphens,     jd_line(d.jd), date_line(d), kHeader,
          degree_row(d), "  ",         scale_row(d), kHyphens};
}

// The console lines of one day: date, header, degree row, hyphens, each
// without the record's first blank.
inline std::vector<std::string> console_block(const Day& d) {
  std::vector<std::string> out;
  for (const std::string& r : {date_line(d), kHeader, degree_row(d), kHyphens})
    out.push_back(r.substr(1));
  return out;
}

inline std::vector<std::string> banner() {
  return {"  ",
          " == CSN ON ECLIPTIC J2000 (modified 17.11.2007): ==",
          "   ",
          " <31deg> ARIES <56deg> TAURUS <92deg> GEMINI",
          " <118deg> CANCER <137deg> LEO <172deg> VIRGO",
          " <215deg> LIBRA <239deg> SCORPIO",
          " <266deg> SAGITTARIUS <296deg> CAPRICORN",
          " <326deg> AQUARIUS <349deg> PISCES",
          "  ",
          "  ",
          " =================  CS SCALE: ======================",
          "   ",
          " <0> ARIES <1> TAURUS <2> GEMINI <3> CANCER <4> LEO <5> VIRGO <6> LIBRA <7>",
          "  ",
          " <7> SCORPIO <8> SAGITTARIUS <9> CAPRICORN <10> AQUARIUS <11> PISCES <12=0>",
          "  ",
          "   ",
          "   ",
          "            RESULTS OF CALCULATIONS:"};
}

inline std::vector<std::string> closing() { return {"   ", "            END OF CALCULATIONS."}; }

// The whole of scan.txt after a run over these days.
inline std::vector<std::string> table_for(const std::vector<double>& days) {
  std::vector<std::string> out = banner();
  for (double jd : days)
    for (std::string& r : file_block(reference_day(jd))) out.push_back(std::move(r));
  for (std::string& r : closing()) out.push_back(std::move(r));
  return out;
}

// ---- console text up to the first answer ---------------------------------------

inline std::vector<std::string> loading() {
  return {"    READING THE SERIES", "    WAIT A MOMENT, PLEASE....."};
}

inline std::vector<std::string> hints() {
  auto pad = [](std::string s) {
    s.resize(44, ' ');
    return s;
  };
  return {std::string(43, '=') + " ",
          pad("      ENTER THE FIRST AND LAST JULIAN DAY"),
          pad("      FOR CALCULATIONS."),
          blanks(44),
          pad("            Julian day   990 557 -> -2000"),
          pad("            Julian day 1 355 807 -> -1000"),
          pad("            Julian day 1 721 057 ->  0"),
          pad("            Julian day 2 086 307 -> 1000"),
          pad("            Julian day 2 451 557 -> 2000"),
          std::string(44, '=')};
}

inline std::vector<std::string> limit_prompts() {
  return {blanks(8), "Enter first day (lower limit)", "Enter last day (upper limit)",
          "Enter step in days"};
}

inline const std::string kSelect = " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>";
inline const std::string kWrong = " WRONG SELECTION - MUST BE 1, 2 or 3";

inline std::vector<std::string> menu() {
  return {blanks(9),        std::string(23, '/') + std::string(23, '\\'),
          "        1: RUN   ", "        2: CHANGE LIMITS",
          "        3: EXIT ",  kSelect};
}

// Start-up, hints, the three prompts and the menu: everything shown before
// the first menu answer is read.
inline std::vector<std::string> opening() {
  std::vector<std::string> out = loading();
  for (auto part : {hints(), limit_prompts(), menu()})
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// The console and the file keep to their own lines: the banner, JD lines
// and scale rows never reach the console; hints, prompts and menu never
// reach scan.txt.
inline void expect_kept_apart(const std::vector<std::string>& console,
                              const std::vector<std::string>& file) {
  for (const std::string& line : console) {
    // The banner's blank lines and the one before a scale row.
    EXPECT_TRUE(line != " " && line != "  ") << "blank line of the file on the console";
    for (const char* file_only : {"JD=", "(CS)", "CSN ON ECLIPTIC", "CS SCALE", "deg> ARIES",
                                  "ARIES <1>", "RESULTS OF CALCULATIONS", "END OF CALCULATIONS"})
      EXPECT_EQ(line.find(file_only), std::string::npos) << "on the console: '" << line << "'";
  }
  for (const std::string& rec : file)
    for (const char* console_only : {"ENTER", "Enter", "Julian day", "RUN", "CHANGE LIMITS",
                                     "EXIT", "SELECTION", "////", "READING THE SERIES",
                                     "WAIT A MOMENT", "Stop - ",
                                     "===========================================", "\\\\"})
      EXPECT_EQ(rec.find(console_only), std::string::npos) << "in scan.txt: '" << rec << "'";
}

}  // namespace scantest
