// kav_scan's menu, its stops and error reports, and a run on a real terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "scan_expected.h"

namespace {

using namespace scantest;
using testsupport::console_lines;

// One day, so that a run is short.
const char* const kOneDay = "2451545\n2451545\n1\n";

// ---- menu answers ----------------------------------------------------------------

struct MenuCase {
  const char* name;
  const char* answers;  // lines typed at the menu
  int wrong;            // wrong selections before the run
};

// Only the first character of the line counts, and only "1" to "3" are taken.
const MenuCase kMenuCases[] = {
    {"One", "1\n", 0},
    {"OneFollowedByMore", "12\n", 0},
    {"LeadingBlankAndEmptyLineAreWrong", " 1\n\n1\n", 2},
    {"OtherCharactersAreWrong", "0\n4\nx\n-1\n1\n", 4},
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class ScanMenu : public ScanProgram, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(ScanMenu, WrongSelectionsRepeatOnlyThePrompt) {
  const MenuCase& c = GetParam();
  const auto r = run(std::string(kOneDay) + c.answers);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected = opening();
  for (int k = 0; k < c.wrong; ++k) append(expected, {kWrong, kSelect});
  append(expected, console_block(reference_day(2451545.0)));
  expected.push_back("Stop - Program terminated.");
  const std::vector<std::string> shown = console_lines(r.out);
  expect_lines(shown, expected, "console");
  const std::vector<std::string> file = table();
  expect_lines(file, table_for({2451545.0}), "scan.txt");
  expect_kept_apart(shown, file);
}

INSTANTIATE_TEST_SUITE_P(Answers, ScanMenu, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanProgram, ExitLeavesTheTableEmpty) {
  const auto r = run(std::string(kOneDay) + " 3\n3\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::vector<std::string> expected = opening();
  append(expected, {kWrong, kSelect, "TERMINATED BY USER"});
  expect_lines(console_lines(r.out), expected, "console");
  ASSERT_TRUE(fs::exists(dir_ + "/scan.txt"));
  EXPECT_EQ(table_bytes(), "");
}

TEST_F(ScanProgram, StartReplacesAnEarlierTable) {
  testsupport::write_file(dir_ + "/scan.txt", "old table\r\n");
  const auto r = run(std::string(kOneDay) + "3\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(table_bytes(), "");
}

// Changing the limits twice: each time the line of 8 blanks, the prompts and
// the whole menu, never the hint block; the last limits are the ones used.
TEST_F(ScanProgram, ChangeLimitsTwiceUsesTheLastOnes) {
  const auto r = run("1\n2\n3\n2\n2451550\n2451545\n-2\n2\n2451547\n2451546\n-1\n1\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected = opening();
  for (int k = 0; k < 2; ++k) {
    append(expected, limit_prompts());
    append(expected, menu());
  }
  append(expected, console_block(reference_day(2451547.0)));
  append(expected, console_block(reference_day(2451546.0)));
  expected.push_back("Stop - Program terminated.");
  expect_lines(console_lines(r.out), expected, "console");
  expect_lines(table(), table_for({2451547.0, 2451546.0}), "scan.txt");
}

// ---- stops and error reports -------------------------------------------------------

// "\n" "run-time error " <letter> <four digits> <rest...>, as the report starts.
void expect_report(const std::string& err, char letter, const std::string& statement,
                   const std::string& description) {
  const std::string head = std::string("\nrun-time error ") + letter;
  ASSERT_EQ(err.rfind(head, 0), 0u) << err;
  ASSERT_GE(err.size(), head.size() + 4) << err;
  for (std::size_t k = head.size(); k < head.size() + 4; ++k)
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(err[k]))) << err;
  const std::string rest = err.substr(head.size() + 4);
  EXPECT_EQ(rest.rfind(statement, 0), 0u) << err;
  const std::size_t nl = rest.find('\n');
  ASSERT_NE(nl, std::string::npos) << err;
  EXPECT_EQ(rest.substr(nl + 1, 2 + description.size()), "- " + description) << err;
  EXPECT_EQ(err.back(), '\n');
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
}

struct ZeroStepCase {
  const char* name;
  const char* limits;
  const char* kind;
};

// The row count divides by the step: x/0 and 0/0 end the run after the banner.
const ZeroStepCase kZeroStep[] = {
    {"DivideByZero", "2451545\n2451547\n0\n", "floating-point error: divide by zero"},
    {"FirstEqualsLastIsInvalid", "2451545\n2451545\n0\n", "floating-point error: invalid"},
};

void PrintTo(const ZeroStepCase& c, std::ostream* os) { *os << c.name; }

class ScanZeroStep : public ScanProgram, public ::testing::WithParamInterface<ZeroStepCase> {};

TEST_P(ScanZeroStep, FloatingPointReportAfterTheBanner) {
  const ZeroStepCase& c = GetParam();
  const auto r = run(std::string(c.limits) + "1\n");
  EXPECT_EQ(r.status, 1);
  expect_report(r.err, 'M', ": MATH", c.kind);
  std::vector<std::string> expected = opening();
  expect_lines(console_lines(r.out), expected, "console");
  expect_lines(table(), banner(), "scan.txt");
}

INSTANTIATE_TEST_SUITE_P(Steps, ScanZeroStep, ::testing::ValuesIn(kZeroStep),
                         [](const auto& info) { return std::string(info.param.name); });

struct InputFailure {
  const char* name;
  const char* input;
  int prompts_answered;  // how many of the three limits were read
};

// The reads have no error or end branch: a bad value or the end of input at
// any prompt is a run-time error report, and the program does not wait.
const InputFailure kInputFailures[] = {
    {"NotANumberFirst", "abc\n", 0},
    {"NotANumberLast", "2451545\n12x\n", 1},
    {"NotANumberStep", "2451545\n2451546\none\n", 2},
    {"NoInputAtAll", "", 0},
    {"EndAtLastDay", "2451545\n", 1},
    {"EndAtStep", "2451545\n2451546", 2},
    {"EndAtMenu", "2451545\n2451546\n1\n", 3},
    {"EndAfterWrongSelection", "2451545\n2451546\n1\n5\n", 3},
};

void PrintTo(const InputFailure& c, std::ostream* os) { *os << c.name; }

class ScanInputFailure : public ScanProgram, public ::testing::WithParamInterface<InputFailure> {};

TEST_P(ScanInputFailure, RunTimeErrorReportAndNoTable) {
  const InputFailure& c = GetParam();
  const auto r = run(c.input, 20000);
  ASSERT_NE(r.status, -1) << "still waiting for input";
  EXPECT_EQ(r.status, 1);
  expect_report(r.err, 'F', ": READ(", "");
  const std::vector<std::string> shown = console_lines(r.out);
  ASSERT_FALSE(shown.empty());
  const std::vector<std::string> prompts = {"Enter first day (lower limit)",
                                            "Enter last day (upper limit)", "Enter step in days",
                                            kSelect};
  EXPECT_EQ(shown.back(), prompts[c.prompts_answered]);
  EXPECT_EQ(r.out.find("Stop - "), std::string::npos);
  EXPECT_EQ(table_bytes(), "");
}

INSTANTIATE_TEST_SUITE_P(Reads, ScanInputFailure, ::testing::ValuesIn(kInputFailures),
                         [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
  const char* name;
  const char* limits;
  bool too_many;  // otherwise: no row at all
};

// A quotient too large for the row counter stops the run after the banner;
// one far below zero simply gives no row.
const CountCase kCountCases[] = {
    {"QuotientAtTheLimit", "0\n2147483647\n1\n", true},
    {"TinyStep", "0\n1\n1e-300\n", true},
    {"HugeSpan", "-1e300\n1e300\n1\n", true},
    {"NegativeQuotientBelowTheCounter", "0\n-2147483649\n1\n", false},
    {"NegativeQuotientAtTheCounterLimit", "0\n-2147483648\n1\n", false},
    {"FarBelowZero", "0\n-1e300\n1\n", false},
};

void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }

class ScanRowCount : public ScanProgram, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ScanRowCount, StopOrNoRow) {
  const CountCase& c = GetParam();
  const auto r = run(std::string(c.limits) + "1\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::vector<std::string> expected = opening();
  if (c.too_many) {
    expected.push_back("TOO MANY ROWS: (LAST DAY - FIRST DAY) / STEP MUST BE BELOW 2147483647");
    expect_lines(table(), banner(), "scan.txt");
  } else {
    expected.push_back("Stop - Program terminated.");
    expect_lines(table(), table_for({}), "scan.txt");
  }
  expect_lines(console_lines(r.out), expected, "console");
}

INSTANTIATE_TEST_SUITE_P(Quotients, ScanRowCount, ::testing::ValuesIn(kCountCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A day past the calendar's range: the hyphens and the JD line of its row are
// already in the file when the date stops the program.
TEST_F(ScanProgram, DayPastTheCalendarStopsAfterTheJdLine) {
  const auto r = run("2524607\n2524608\n1\n1\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> shown = console_lines(r.out);
  ASSERT_GE(shown.size(), 5u);
  EXPECT_EQ(shown[shown.size() - 5], "YEAR/MONTH/DAY=        2199/          12/          31");
  EXPECT_EQ(shown.back(), "SUBROUTINE DATE: year must be <=+2200!");
  const std::vector<std::string> file = table();
  ASSERT_EQ(file.size(), banner().size() + 8 + 2);
  EXPECT_EQ(file[file.size() - 2], kHyphens);
  EXPECT_EQ(file.back(), jd_line(2524608.0));
}

// ---- a person at a terminal ---------------------------------------------------------

TEST_F(ScanProgram, RunOnARealTerminal) {
  const int probe = posix_openpt(O_RDWR | O_NOCTTY);
  if (probe < 0) GTEST_SKIP() << "no pseudo-terminal available";
  close(probe);
  // Each answer is typed only once its prompt is on the screen, so a prompt
  // that waited in a buffer would end this run by the time limit.
  const std::vector<std::pair<std::string, std::string>> dialogue = {
      {"Enter first day (lower limit)", "2451545"},
      {"Enter last day (upper limit)", "2451546"},
      {"Enter step in days", "1"},
      {kSelect, "0"},
      {kWrong + "\r\n" + kSelect, "1"},
  };
  const auto r = testsupport::run_on_terminal(kScan, dir_, dialogue, 60000);
  ASSERT_EQ(r.status, 0) << r.out;

  // The screen as lines; the terminal ends lines with CR LF.
  std::string screen = r.out;
  for (std::size_t at; (at = screen.find("\r\n")) != std::string::npos;) screen.replace(at, 2, "\n");
  EXPECT_EQ(screen.find('\r'), std::string::npos) << screen;
  const std::vector<std::string> lines = console_lines(screen);

  // Everything the program shows, in order, each line whole; the answers
  // echoed by the terminal stand between them on lines of their own.
  std::vector<std::string> expected = loading();
  append(expected, hints());
  append(expected, {blanks(8), "Enter first day (lower limit)", "2451545",
                    "Enter last day (upper limit)", "2451546", "Enter step in days", "1"});
  append(expected, menu());
  append(expected, {"0", kWrong, kSelect, "1"});
  append(expected, console_block(reference_day(2451545.0)));
  append(expected, console_block(reference_day(2451546.0)));
  expected.push_back("Stop - Program terminated.");
  expect_lines(lines, expected, "terminal");
}

}  // namespace
