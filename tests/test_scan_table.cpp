// kav_scan tables compared line by line with text built from ERFA positions:
// which days get a row, what each row block holds in scan.txt and on the
// console, and one complete console dialogue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan_expected.h"

namespace {

using namespace scantest;
using testsupport::console_lines;

struct TableCase {
  const char* name;
  const char* limits;  // first day, last day, step, as typed
  std::vector<double> days;
};

// The row count is (last - first) / step truncated toward zero, plus one;
// the days are first, first + step, ...
const TableCase kTableCases[] = {
    {"ThreeDaysForward", "2451545\n2451547\n1\n", {2451545.0, 2451546.0, 2451547.0}},
    {"FirstEqualsLastWithAFraction", "2440423.25\n2440423.25\n7\n", {2440423.25}},
    {"LastBeforeFirstGivesNoRow", "2451545\n2451544\n1\n", {}},
    {"BackwardsByTwo", "2451550\n2451545\n-2\n", {2451550.0, 2451548.0, 2451546.0}},
    {"StepPointingAwayStillGivesOneRow", "2451545\n2451546\n-3\n", {2451545.0}},
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class ScanTable : public ScanProgram, public ::testing::WithParamInterface<TableCase> {};

TEST_P(ScanTable, RowsOfTheSpanInFileAndOnConsole) {
  const TableCase& c = GetParam();
  const auto r = run(std::string(c.limits) + "1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");

  const std::vector<std::string> file = table();
  expect_lines(file, table_for(c.days), "scan.txt");

  std::vector<std::string> console = opening();
  for (double jd : c.days) append(console, console_block(reference_day(jd)));
  console.push_back("Stop - Program terminated.");
  const std::vector<std::string> shown = console_lines(r.out);
  expect_lines(shown, console, "console");
  EXPECT_EQ(r.out.back(), '\n');
  expect_kept_apart(shown, file);
}

INSTANTIATE_TEST_SUITE_P(Spans, ScanTable, ::testing::ValuesIn(kTableCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The J2000 row, rounded by hand from the ERFA longitudes 280.3796, 223.3192,
// 40.4085, 25.2509, 327.9770, 241.5772, 271.9059, 314.8180 and their scale
// values: Jupiter, below the start of ARIES, is shown as 385.3 and lies near
// the end of PISCES, 11.85; Saturn's 0.354 has no leading zero.
TEST_F(ScanProgram, EpochRowSpelledOut) {
  const auto r = run("2451545\n2451545\n1\n1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> expected = {
      " ----------------------------------------",
      "                                     JD=  2451545.00",
      " YEAR/MONTH/DAY=        1999/          12/          19",
      "   SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY        URAN",
      " 280.4  223.3   40.4   385.3   328.0  241.6   271.9          314.8 (deg)",
      "  ",
      "  8.46   6.32    .35   11.85   10.06   7.07    8.18           9.61 (CS)",
      " ----------------------------------------",
  };
  const std::vector<std::string> file = table();
  ASSERT_EQ(file.size(), banner().size() + expected.size() + closing().size());
  expect_lines(std::vector<std::string>(file.begin() + banner().size(),
                                        file.begin() + banner().size() + expected.size()),
               expected, "J2000 block");
}

// A fractional step: the days are formed by adding the step, the JD line
// shows the fraction and the date is that of the day's integer part (the
// positions are not checked here, only the dates and days).
TEST_F(ScanProgram, FractionalStepKeepsTheDateOfTheIntegerPart) {
  const auto r = run("2451545\n2451546\n0.5\n1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> jd_lines, date_lines;
  for (const std::string& rec : table()) {
    if (rec.find(" JD= ") != std::string::npos) jd_lines.push_back(rec);
    if (rec.rfind(" YEAR/", 0) == 0) date_lines.push_back(rec);
  }
  expect_lines(jd_lines, {jd_line(2451545.0), jd_line(2451545.5), jd_line(2451546.0)}, "JD lines");
  expect_lines(date_lines,
               {" YEAR/MONTH/DAY=        1999/          12/          19",
                " YEAR/MONTH/DAY=        1999/          12/          19",
                " YEAR/MONTH/DAY=        1999/          12/          20"},
               "date lines");
}

// A whole dialogue written out: a wrong answer, a change of limits (prompts
// and the whole menu again, no hint block), then a run of one row.
TEST_F(ScanProgram, CompleteDialogueWithChangeOfLimits) {
  const auto r = run("2451545\n2451547\n1\n9\n2\n2451546\n2451546\n1\n1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const Day& d = reference_day(2451546.0);
  const std::vector<std::string> expected = {
      "    READING THE SERIES",
      "    WAIT A MOMENT, PLEASE.....",
      "=========================================== ",
      "      ENTER THE FIRST AND LAST JULIAN DAY   ",
      "      FOR CALCULATIONS.                     ",
      "                                            ",
      "            Julian day   990 557 -> -2000   ",
      "            Julian day 1 355 807 -> -1000   ",
      "            Julian day 1 721 057 ->  0      ",
      "            Julian day 2 086 307 -> 1000    ",
      "            Julian day 2 451 557 -> 2000    ",
      "============================================",
      "        ",
      "Enter first day (lower limit)",
      "Enter last day (upper limit)",
      "Enter step in days",
      "         ",
      R"(///////////////////////\\\\\\\\\\\\\\\\\\\\\\\)",
      "        1: RUN   ",
      "        2: CHANGE LIMITS",
      "        3: EXIT ",
      " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>",
      " WRONG SELECTION - MUST BE 1, 2 or 3",
      " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>",
      "        ",
      "Enter first day (lower limit)",
      "Enter last day (upper limit)",
      "Enter step in days",
      "         ",
      R"(///////////////////////\\\\\\\\\\\\\\\\\\\\\\\)",
      "        1: RUN   ",
      "        2: CHANGE LIMITS",
      "        3: EXIT ",
      " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>",
      "YEAR/MONTH/DAY=        1999/          12/          20",
      "  SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY        URAN",
      degree_row(d).substr(1),
      "----------------------------------------",
      "Stop - Program terminated.",
  };
  expect_lines(console_lines(r.out), expected, "console");
  expect_lines(table(), table_for({2451546.0}), "scan.txt");
}

}  // namespace
