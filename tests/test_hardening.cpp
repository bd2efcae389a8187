// kavex and kav_scan against bad input and failing writes, run as a user
// runs them: each case in a folder of its own with its SERIES85 (and
// input.txt), standard input fed in, then the exit status, the console, the
// error report and the files left behind are checked. Every run has a time
// limit: a program that waits or loops is a failed case, not a stuck test.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kavex_dialogue.h"
#include "process.h"
#include "scan_expected.h"
#include "support.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::write_file;

namespace {

const std::string kKavex = std::string(KAV_BIN_DIR) + "/search/kavex";
const std::string kScanProgram = std::string(KAV_BIN_DIR) + "/scan/kav_scan";
constexpr int kTimeoutMs = 30000;
// RLIMIT_FSIZE of the file-size cases: below one buffer of records, so that
// the limit is met in the middle of a run.
constexpr long kFileLimit = 100000;

std::string starts(const std::string& s, std::size_t n) { return s.substr(0, n); }
bool has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
std::string crlf(const std::vector<std::string>& records) {
  std::string s;
  for (const std::string& r : records) s += r + "\r\n";
  return s;
}

// ---- SERIES85 variants -----------------------------------------------------------
//
// The programs need only a file in the layout of the series; twelve empty
// blocks are a valid one (the Moon then moves at its mean rate), so most
// cases run without the real file. The damaged ones are built the same way.

enum class Series {
  Minimal,            // twelve headers of 0
  Missing,            // no file
  Empty,              // a file of 0 bytes
  CutInBlock,         // header 5, three records, end of file
  NegativeCount,      // header -3
  CountAboveRecords,  // header 4, three records, then the next header
  ShiftedRecord,      // third record one column to the right
  BadField,           // a letter O for a zero in an amplitude
  HugeField,          // an amplitude beyond a double
  TooManyMain,        // 219 main-problem terms above the threshold
  TooManyPert,        // 400 + 24 longitude perturbation terms above theirs
};

// "(I3,4I3,2X,F13.5)"; amplitude text given as written in columns 18 to 30.
std::string main_record(int n, const char* amplitude) {
  char b[64];
  std::snprintf(b, sizeof b, "%3d%3d%3d%3d%3d  %13s", n, 0, 0, 1, 0, amplitude);
  return b;
}
// "(I3,13I3,2(2X,F9.5))": twelve multipliers 0, that of F 1, phase 0, amplitude 5.
std::string pert_record(int n) {
  char b[16];
  std::snprintf(b, sizeof b, "%3d", n);
  std::string s = b;
  for (int k = 0; k < 12; ++k) s += "  0";
  return s + "  1    0.00000    5.00000";
}

// Amplitudes of 5 stay above every level-3 threshold: nothing is cut off.
std::string series_text(Series s) {
  std::vector<std::string> r;
  const std::vector<std::string> empty_blocks(12, "   0");
  switch (s) {
    case Series::Minimal: r = empty_blocks; break;
    case Series::Missing:
    case Series::Empty: return "";
    case Series::CutInBlock:
      r = {"   5", main_record(1, "5.00000"), main_record(2, "5.00000"), main_record(3, "5.00000")};
      return crlf(r);
    case Series::NegativeCount: r = {"  -3"}; break;
    case Series::CountAboveRecords:
      r = {"   4", main_record(1, "5.00000"), main_record(2, "5.00000"), main_record(3, "5.00000")};
      break;
    case Series::ShiftedRecord:
      r = {"   3", main_record(1, "5.00000"), main_record(2, "5.00000"), " " + main_record(3, "5.00000")};
      break;
    case Series::BadField:
      r = {"   3", main_record(1, "5.00000"), main_record(2, "5.0O000"), main_record(3, "5.00000")};
      break;
    case Series::HugeField:
      r = {"   3", main_record(1, "5.00000"), main_record(2, "1e400"), main_record(3, "5.00000")};
      break;
    case Series::TooManyMain:
      r = {" 219"};
      for (int j = 1; j <= 219; ++j) r.push_back(main_record(j, "5.00000"));
      break;
    case Series::TooManyPert:
      // Blocks 1 to 3 empty; block 4 (power 0, longitude) 400 terms; blocks
      // 5, 6 empty; block 7 (power 1, longitude) 24: term 424 of the
      // coordinate, on line 3 + 1 + 400 + 2 + 1 + 24 = 431.
      r = {"   0", "   0", "   0", " 400"};
      for (int j = 1; j <= 400; ++j) r.push_back(pert_record(j));
      r.insert(r.end(), {"   0", "   0", "  24"});
      for (int j = 1; j <= 24; ++j) r.push_back(pert_record(j));
      break;
  }
  // Whatever follows the damage: the remaining headers of an empty file.
  for (std::size_t k = 1; k < 12; ++k) r.push_back("   0");
  return crlf(r);
}

// ---- the cases -------------------------------------------------------------------

enum class InputFile { Absent, Text, Directory, Unreadable };

// What is done to the folder or the process besides placing the files.
enum class Setup {
  None,
  ReportIsDirectory,  // otvet.txt / scan.txt is a directory
  WorkingFolderGone,  // the working folder is removed before the start
  ReadOnlyFolder,     // no write permission (root writes anyway: skipped)
  FileSizeLimit,      // RLIMIT_FSIZE = kFileLimit
  ClosedStdout,       // standard output a pipe nobody reads
};

// How the report file is checked against the output of a sound run.
enum class Prefix {
  None,
  AllDaysWithEcho,  // kavex, every day fits: echo, preamble, day blocks
  AllDaysNoEcho,    // the same without the echo
  UnlimitedRun,     // kav_scan: the same input run without the limit
};

struct FileCheck {
  std::string name;
  bool exists = true;
  bool directory = false;
  std::optional<std::string> equals;
  std::string starts, contains, ends, lacks;
};

struct Case {
  std::string name;
  std::string stdin_bytes;
  Series series = Series::Minimal;
  InputFile input = InputFile::Absent;
  std::string input_text;
  Setup setup = Setup::None;
  int status = 0;
  std::optional<std::string> out_equals;
  std::string out_ends;               // the last thing on the console
  std::vector<std::string> out_has;
  std::string out_lacks;
  std::string err_starts;             // empty: nothing on standard error
  std::vector<std::string> err_has;
  std::vector<FileCheck> files;
  Prefix prefix = Prefix::None;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string mb_of(char c) { return std::string(1 << 20, c); }

const std::string kLoading = "    READING THE SERIES\n    WAIT A MOMENT, PLEASE.....\n";
const std::string kStarted = "=======      PROGRAM KAVEX STARTED     =========== \n";
const std::string kPlainStop = "Stop - Program terminated.\n";
const std::string kEof = "\nrun-time error F2001: READ(console)\n- end of file";
const std::string kNotANumber = "\nrun-time error F2002: READ(console)\n- not a number";
const std::string kOutOfRange = "\nrun-time error F2003: READ(console)\n- number out of range";

std::string report_error(const char* number, const char* statement, const char* file,
                         const char* description) {
  return std::string("\nrun-time error ") + number + ": " + statement + "(" + file + ")\n- " +
         description;
}

// ---- kavex -------------------------------------------------------------------------

// The 21 prompts in the order they are asked.
std::vector<std::string> kavex_prompts() {
  const char* names[7] = {"Sun ", "Moon", "Saturn", "Jupiter", "Mars", "Venus", "Mercury"};
  std::vector<std::string> p;
  for (int b = 0; b < 7; ++b) {
    p.push_back(std::string("Enter lower limit for the ") + names[b]);
    p.push_back(std::string("Enter upper limit for the ") + names[b]);
    p.push_back(b == 1 ? std::string("Enter  approx. best point for the Moon")
                       : std::string("Enter approx. best point for the ") + names[b]);
  }
  return p;
}

// The first n lines of the 21 answers of kavex_dialogue.
std::string first_answers(int n) {
  const std::string all = kavex_dialogue::kAnswers;
  std::size_t at = 0;
  for (int k = 0; k < n; ++k) at = all.find('\n', at) + 1;
  return all.substr(0, at);
}

// "(X,'from: ',F4.1,3X,F4.1,3X,F4.1,4X,F4.1,4X,F4.1,3X,F4.1,4X,F4.1)" and its kin.
std::string echo_row(const char* label, const double (&v)[7]) {
  const int gap[7] = {0, 3, 3, 4, 4, 3, 4};
  std::string s = std::string(" ") + label;
  for (int k = 0; k < 7; ++k) s += std::string(static_cast<std::size_t>(gap[k]), ' ') + scantest::f_field(v[k], 4, 1);
  return s;
}

// The report-file echo of a horoscope.
std::string report_echo(const double (&lower)[7], const double (&upper)[7], const double (&best)[7]) {
  return crlf({" ======= CONSTELLATION    SCALE  ===================",
               "       12=0-ARIES-1-TAURUS-2-GEMINI-3", "       3-CANCER-4-LEO-5-VIRGO-6",
               "       6-LIBRA-7-SCORPIO-8-SAGITTARIUS-9",
               "       9-CAPRICORN-10-AQUARIUS-11-PISCES-12=0", "    ",
               " --- HOROSCOPE ACCORDING TO CONSTELLATIONS SCALE: --",
               "        SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY",
               echo_row("from: ", lower), echo_row("  to: ", upper), echo_row("point:", best),
               std::string(" ") + std::string(51, '=')});
}

// The horoscope of examples/input.txt.
constexpr double kExLower[7] = {11, 4, 6, 7, 6, 10, 11};
constexpr double kExUpper[7] = {0, 5, 7, 8, 7, 11, 0};
constexpr double kExBest[7] = {11.1, 4.1, 6.2, 7.9, 6.4, 10.6, 11.5};
const std::string kExLowerLine = "11 4 6 7 6 10 11\n";
const std::string kExUpperLine = "0 5 7 8 7 11 0\n";
const std::string kExBestLine = "11.1 4.1 6.2 7.9 6.4 10.6 11.5\n";
const std::string kExample = "#\n" + kExLowerLine + "#\n" + kExUpperLine + "#\n" + kExBestLine;

std::string example_echo() { return report_echo(kExLower, kExUpper, kExBest); }

constexpr double kZeros[7] = {0, 0, 0, 0, 0, 0, 0};

// The preamble of the 25-century span; all limits 0 on the scale stand at
// 31.55555558 degrees, " 31.6" in F5.1.
std::string preamble_of_zeros() {
  const std::string row = "  31.6   31.6   31.6    31.6    31.6   31.6    31.6";
  return crlf({"  ", " == CSN ON ECLIPTIC J2000 (modified 17.11.2007):==", "   ",
               " <31deg> ARIES <56deg> TAURUS <92deg> GEMINI",
               " <118deg> CANCER <137deg> LEO <172deg> VIRGO", " <215deg> LIBRA <239deg> SCORPIO",
               " <266deg> SAGITTARIUS <296deg> CAPRICORN", " <326deg> AQUARIUS <349deg> PISCES", "  ",
               " ---- HOROSCOPE ON ECLIPTIC J2000 (IN DEGREES): -----",
               "        SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY", " from:" + row,
               " to:  " + row, std::string(" ") + std::string(52, '='), "   ", "   ",
               "            RESULTS OF CALCULATIONS", "         From year -500 to year +2000",
               "         (with dopusk =  5.0 degrees)", "   "});
}

const char* const kAllDaysFit = KAV_HOROSCOPES "/all-days-fit.txt";
const std::string kEndOfCalculations = "   \r\n            END OF CALCULATIONS.\r\n";

std::vector<Case> kavex_cases() {
  using namespace kavex_dialogue;
  std::vector<Case> cases;
  const std::vector<std::string> prompts = kavex_prompts();
  const FileCheck report_empty{.name = "otvet.txt", .equals = ""};
  const FileCheck report_echo_only{.name = "otvet.txt", .equals = std::string(kReportEcho)};

  // End of standard input at each of the 21 prompts: nothing reaches the report.
  for (int k = 0; k < 21; ++k)
    cases.push_back({.name = "EndOfInputAtPrompt" + std::to_string(k + 1),
                     .stdin_bytes = first_answers(k),
                     .status = 1,
                     .out_ends = prompts[static_cast<std::size_t>(k)] + "\n",
                     .err_starts = kEof,
                     .files = {report_empty}});
  // ... and at the menu, after the echoes, which stay in the report.
  const std::string menu_shown = std::string(kConsoleEcho) + kMenu + kPrompt;
  cases.push_back({.name = "EndOfInputAtTheMenu",
                   .stdin_bytes = kAnswers,
                   .status = 1,
                   .out_ends = menu_shown,
                   .err_starts = kEof,
                   .files = {report_echo_only}});
  // Wrong selections of every kind repeat the prompt; then the end of input.
  std::string wrong_then_end = kPrompt;
  for (int k = 0; k < 5; ++k) wrong_then_end += std::string(kWrong) + kPrompt;
  cases.push_back({.name = "WrongSelectionsThenEndOfInput",
                   .stdin_bytes = std::string(kAnswers) + "7\n" + std::string("\0\n", 2) +
                                  "\x80\xff\x01\n\n" + mb_of('x') + "\n",
                   .status = 1,
                   .out_ends = std::string(kMenu) + wrong_then_end,
                   .err_starts = kEof,
                   .files = {report_echo_only}});
  cases.push_back({.name = "EndOfInputAfterChangeHoroscope",
                   .stdin_bytes = std::string(kAnswers) + "2\n",
                   .status = 1,
                   .out_ends = std::string(kMenu) + kPrompt + kIntroduction + "        \n" + prompts[0] + "\n",
                   .err_starts = kEof,
                   .files = {report_echo_only}});

  // What a prompt refuses: the error report, the prompt last on the console.
  struct Refused {
    const char* name;
    std::string line;
    std::string err;
    std::vector<std::string> err_has;
  };
  const std::vector<Refused> refused = {
      {"Word", "ten\n", kNotANumber, {"'ten'"}},
      {"LonePlus", "+\n", kNotANumber, {}},
      {"LoneMinus", "-\n", kNotANumber, {}},
      {"NaN", "nan\n", kNotANumber, {}},
      {"Infinity", "inf\n", kNotANumber, {}},
      {"NulBytes", std::string("\0\0\n", 3), kNotANumber, {"\\x00\\x00"}},
      {"BinaryData", "\x01\x02\xff\xfe\x80" "abc\n", kNotANumber, {"'\\x01\\x02\\xFF\\xFE\\x80abc'"}},
      {"BinaryWithoutLineEnd", "\x01\x02\x03", kNotANumber, {}},
      {"BeyondADouble", "1e999\n", kOutOfRange, {"1e999"}},
      {"NegativeBeyondADouble", "-1e999\n", kOutOfRange, {}},
      {"MegabyteOfLetters", mb_of('x') + "\n", kNotANumber, {}},
      {"MegabyteOfDigits", mb_of('7') + "\n", kOutOfRange, {}},
  };
  for (const Refused& r : refused)
    cases.push_back({.name = std::string(r.name) + "AtThePrompt",
                     .stdin_bytes = r.line,
                     .status = 1,
                     .out_ends = prompts[0] + "\n",
                     .err_starts = r.err,
                     .err_has = r.err_has,
                     .files = {report_empty}});
  cases.push_back({.name = "WordAtTheLastPrompt",
                   .stdin_bytes = first_answers(20) + "ten\n",
                   .status = 1,
                   .out_ends = prompts[20] + "\n",
                   .err_starts = kNotANumber,
                   .files = {report_empty}});
  // A megabyte of blanks is only separators: the value after it is read.
  cases.push_back({.name = "MegabyteOfBlanksBeforeAValue",
                   .stdin_bytes = mb_of(' ') + "5\n",
                   .status = 1,
                   .out_ends = prompts[1] + "\n",
                   .err_starts = kEof,
                   .files = {report_empty}});

  // Values the scale conversions refuse end the run before the first day.
  cases.push_back({.name = "NegativeValueAtTheKeyboard",  // Venus's best point -10
                   .stdin_bytes = std::string(kAnswers) + "1\n",
                   .status = 0,
                   .out_ends = menu_shown + kStarted + "ANGLE ----1\n",
                   .files = {report_echo_only}});
  {
    double best[7] = {11.1, 4.1, 6.2, 7.9, 6.4, 10.6, 99};
    cases.push_back({.name = "BestPointAbove24InTheFile",  // 99 counts as known
                     .input = InputFile::Text,
                     .input_text = "#\n" + kExLowerLine + "#\n" + kExUpperLine + "#\n11.1 4.1 6.2 7.9 6.4 10.6 99\n",
                     .status = 0,
                     .out_equals = kLoading + kStarted + "ANGLE ----2\n",
                     .files = {{.name = "otvet.txt", .equals = report_echo(kExLower, kExUpper, best)}}});
    double upper[7] = {25, 5, 7, 8, 7, 11, 0};
    cases.push_back({.name = "UpperLimit25InTheFile",
                     .input = InputFile::Text,
                     .input_text = "#\n" + kExLowerLine + "#\n25 5 7 8 7 11 0\n#\n" + kExBestLine,
                     .status = 0,
                     .out_equals = kLoading + kStarted + "ANGLE ----2\n",
                     .files = {{.name = "otvet.txt", .equals = report_echo(kExLower, upper, kExBest)}}});
    double lower[7] = {11, 4, 6, 7, 6, 10, -0.5};
    cases.push_back({.name = "NegativeLowerLimitInTheFile",
                     .input = InputFile::Text,
                     .input_text = "#\n11 4 6 7 6 10 -0.5\n#\n" + kExUpperLine + "#\n" + kExBestLine,
                     .status = 0,
                     .out_equals = kLoading + kStarted + "ANGLE ----1\n",
                     .files = {{.name = "otvet.txt", .equals = report_echo(lower, kExUpper, kExBest)}}});
  }

  // ---- input.txt ----
  const FileCheck complete_example{.name = "otvet.txt",
                                   .starts = example_echo() + "  \r\n == CSN ON ECLIPTIC J2000",
                                   .ends = kEndOfCalculations};
  const std::vector<std::string> no_dialogue_ok = {kLoading + kStarted};
  // No marker at all: the search starts at once with every value 0, so every
  // day fits; a file-size limit cuts the run short.
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
           {"EmptyInputFile", ""},
           {"OnlyComments", "A horoscope was to be here.\n\n  no marker # on this line\n\t\n"}})
    cases.push_back({.name = name,
                     .input = InputFile::Text,
                     .input_text = text,
                     .setup = Setup::FileSizeLimit,
                     .status = 1,
                     .out_has = no_dialogue_ok,
                     .out_lacks = "ATTENTION",
                     .err_starts = report_error("F3001", "WRITE", "otvet.txt", "write failed"),
                     .prefix = Prefix::AllDaysNoEcho});
  // The best-point block ends after three values: they are kept, the rest
  // stay 0, there is no echo, and the search runs.
  cases.push_back({.name = "BlockCutShort",
                   .input = InputFile::Text,
                   .input_text = "#\n" + kExLowerLine + "#\n" + kExUpperLine + "#\n100 100 100\n",
                   .status = 0,
                   .out_ends = kPlainStop,
                   .out_has = {kLoading + kStarted + "BEST POINT FOR SUN NOT DETERMINED\n"
                               "BEST POINT FOR SATURN NOT DETERMINED\nBEST POINT FOR MOON NOT DETERMINED\n"},
                   .files = {{.name = "otvet.txt",
                              .starts = " BEST POINT FOR SUN NOT DETERMINED\r\n"
                                        " BEST POINT FOR SATURN NOT DETERMINED\r\n"
                                        " BEST POINT FOR MOON NOT DETERMINED\r\n  \r\n == CSN ON ECLIPTIC",
                              .ends = kEndOfCalculations}}});
  // Lines before a marker are passed over whatever they hold; a block with a
  // word, NUL bytes or a number beyond a double is read again from the next
  // marker.
  cases.push_back({.name = "GarbageBetweenAndInsideBlocks",
                   .input = InputFile::Text,
                   .input_text = "Comments\n" + std::string("\0\0\x01\xff binary\n", 12) + mb_of('x') +
                                 "\n#\n11 4 six 7 6 10 11\nstray line\n#\n" + kExLowerLine +
                                 "9 9 9 9\n#\n0 5 7\n" + std::string("8 \0 11 0\n", 9) + "#\n" +
                                 kExUpperLine + "#\n1e999 4.1 6.2 7.9 6.4 10.6 11.5\n#\n" + kExBestLine,
                   .status = 0,
                   .out_ends = kPlainStop,
                   .out_lacks = "ATTENTION",
                   .files = {complete_example}});
  std::string crlf_text;
  for (char ch : "Comment\n" + kExample) crlf_text += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  cases.push_back({.name = "CrLfLineEnds",
                   .input = InputFile::Text,
                   .input_text = crlf_text,
                   .status = 0,
                   .out_ends = kPlainStop,
                   .files = {complete_example}});
  cases.push_back({.name = "NoLineEndAfterTheLastValue",
                   .input = InputFile::Text,
                   .input_text = kExample.substr(0, kExample.size() - 1),
                   .status = 0,
                   .out_ends = kPlainStop,
                   .files = {complete_example}});
  // The marker is read as text; "0*" is no text value and the read has no
  // error branch.
  cases.push_back({.name = "ZeroRepeatCountBeforeAMarker",
                   .input = InputFile::Text,
                   .input_text = "Comment\n0*5\n" + kExample,
                   .status = 1,
                   .out_equals = kLoading,
                   .err_starts = report_error("F2004", "READ", "input.txt", "bad text value"),
                   .err_has = {"line 2"},
                   .files = {report_empty}});
  // An input.txt that cannot be read is no horoscope file: keyboard entry.
  for (InputFile kind : {InputFile::Directory, InputFile::Unreadable})
    cases.push_back({.name = kind == InputFile::Directory ? "InputFileIsADirectory" : "InputFileUnreadable",
                     .input = kind,
                     .input_text = kExample,
                     .status = 1,
                     .out_ends = std::string(kIntroduction) + "        \n" + prompts[0] + "\n",
                     .out_has = {"File INPUT.TXT was not found => please,   \n"},
                     .err_starts = kEof,
                     .files = {report_empty}});

  // ---- SERIES85 ----
  // Opened as an existing file: a missing one is reported and not created;
  // the report file was created before.
  cases.push_back({.name = "SeriesMissing",
                   .series = Series::Missing,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = "\nrun-time error F1001: OPEN(SERIES85)\n- file not found\n",
                   .files = {report_empty}});
  struct Broken {
    const char* name;
    Series series;
    const char* number;
    const char* description;
    std::vector<std::string> where;
  };
  const std::vector<Broken> broken = {
      {"SeriesEmpty", Series::Empty, "F2001", "end of file", {"line 1"}},
      {"SeriesCutInABlock", Series::CutInBlock, "F2001", "end of file", {"line 5"}},
      {"SeriesNegativeCount", Series::NegativeCount, "F2003", "number out of range", {"line 1"}},
      {"SeriesCountAboveItsRecords", Series::CountAboveRecords, "F2003", "number out of range", {"line 5"}},
      {"SeriesRecordOutOfItsColumns", Series::ShiftedRecord, "F2003", "number out of range", {"line 4"}},
      {"SeriesUnreadableField", Series::BadField, "F2002", "not a number", {"line 3"}},
      {"SeriesFieldBeyondADouble", Series::HugeField, "F2003", "number out of range", {"line 3"}},
      {"SeriesTooManyMainTerms", Series::TooManyMain, "F2005", "", {"block 1", "line 220"}},
      {"SeriesTooManyPerturbationTerms", Series::TooManyPert, "F2005", "", {"block 7", "line 431"}},
  };
  for (const Broken& b : broken)
    cases.push_back({.name = b.name,
                     .series = b.series,
                     .status = 1,
                     .out_equals = kLoading,
                     .err_starts = report_error(b.number, "READ", "SERIES85", b.description),
                     .err_has = b.where,
                     .files = {report_empty}});

  // ---- the report file cannot be written ----
  const std::string cannot_create = report_error("F1002", "OPEN", "otvet.txt", "cannot open or create");
  cases.push_back({.name = "ReportFileIsADirectory",
                   .input = InputFile::Text,
                   .input_text = kExample,
                   .setup = Setup::ReportIsDirectory,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create,
                   .files = {{.name = "otvet.txt", .directory = true}}});
  cases.push_back({.name = "WorkingFolderRemoved",
                   .input = InputFile::Text,
                   .input_text = kExample,
                   .setup = Setup::WorkingFolderGone,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create});
  cases.push_back({.name = "ReadOnlyFolder",
                   .input = InputFile::Text,
                   .input_text = kExample,
                   .setup = Setup::ReadOnlyFolder,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create,
                   .files = {{.name = "otvet.txt", .exists = false}}});
  // The limit is met in the middle of the run: the report, status 1, and the
  // file holds exactly the bytes the limit let through, a prefix of the run.
  cases.push_back({.name = "FileSizeLimitDuringTheRun",
                   .input = InputFile::Text,
                   .input_text = read_file(kAllDaysFit),
                   .setup = Setup::FileSizeLimit,
                   .status = 1,
                   .out_lacks = "Stop - ",
                   .err_starts = report_error("F3001", "WRITE", "otvet.txt", "write failed"),
                   .prefix = Prefix::AllDaysWithEcho});
  // Nobody reads the console: the run is complete in its file, and the lost
  // console is reported.
  cases.push_back({.name = "ConsoleIsAClosedPipe",
                   .input = InputFile::Text,
                   .input_text = kExample,
                   .setup = Setup::ClosedStdout,
                   .status = 1,
                   .err_starts = report_error("F3001", "WRITE", "console", "write failed"),
                   .files = {complete_example}});
  return cases;
}

// ---- kav_scan ----------------------------------------------------------------------

const std::vector<std::string> kScanPrompts = {"Enter first day (lower limit)",
                                               "Enter last day (upper limit)", "Enter step in days"};

std::string scan_menu_shown() {
  std::string s;
  for (const std::string& line : scantest::menu()) s += line + "\n";
  return s;
}

std::vector<Case> scan_cases() {
  using scantest::kSelect;
  using scantest::kWrong;
  std::vector<Case> cases;
  const std::string select = kSelect + "\n";
  const FileCheck table_empty{.name = "scan.txt", .equals = ""};
  const FileCheck banner_only{.name = "scan.txt", .equals = crlf(scantest::banner())};
  std::vector<std::string> no_rows = scantest::banner();
  for (const std::string& r : scantest::closing()) no_rows.push_back(r);

  // End of standard input at each prompt, at the menu, after a wrong
  // selection, and at the prompts again after "2".
  const std::vector<std::string> answers = {"2451545\n", "2451546\n", "1\n"};
  for (int k = 0; k < 3; ++k) {
    std::string in;
    for (int j = 0; j < k; ++j) in += answers[static_cast<std::size_t>(j)];
    cases.push_back({.name = "EndOfInputAtPrompt" + std::to_string(k + 1),
                     .stdin_bytes = in,
                     .status = 1,
                     .out_ends = kScanPrompts[static_cast<std::size_t>(k)] + "\n",
                     .err_starts = kEof,
                     .files = {table_empty}});
  }
  const std::string limits = answers[0] + answers[1] + answers[2];
  cases.push_back({.name = "EndOfInputAtTheMenu",
                   .stdin_bytes = limits,
                   .status = 1,
                   .out_ends = scan_menu_shown(),
                   .err_starts = kEof,
                   .files = {table_empty}});
  std::string wrong_then_end = select;
  for (int k = 0; k < 5; ++k) wrong_then_end += kWrong + "\n" + select;
  cases.push_back({.name = "WrongSelectionsThenEndOfInput",
                   .stdin_bytes = limits + "0\n" + std::string("\0\n", 2) + "\xff\x80\n\n" + mb_of('x') + "\n",
                   .status = 1,
                   .out_ends = wrong_then_end,
                   .err_starts = kEof,
                   .files = {table_empty}});
  cases.push_back({.name = "EndOfInputAfterChangeLimits",
                   .stdin_bytes = limits + "2\n",
                   .status = 1,
                   .out_ends = select + "        \n" + kScanPrompts[0] + "\n",
                   .err_starts = kEof,
                   .files = {table_empty}});

  struct Refused {
    const char* name;
    std::string line;
    std::string err;
  };
  const std::vector<Refused> refused = {
      {"Word", "ten\n", kNotANumber},
      {"LonePlus", "+\n", kNotANumber},
      {"LoneMinus", "-\n", kNotANumber},
      {"NaN", "nan\n", kNotANumber},
      {"NulBytes", std::string("\0\n", 2), kNotANumber},
      {"BinaryData", "\x7f\x1b[2J\xc3\n", kNotANumber},
      {"BeyondADouble", "1e999\n", kOutOfRange},
      {"MegabyteOfLetters", mb_of('x') + "\n", kNotANumber},
      {"MegabyteOfDigits", mb_of('9') + "\n", kOutOfRange},
  };
  for (const Refused& r : refused) {
    cases.push_back({.name = std::string(r.name) + "AsFirstDay",
                     .stdin_bytes = r.line,
                     .status = 1,
                     .out_ends = kScanPrompts[0] + "\n",
                     .err_starts = r.err,
                     .files = {table_empty}});
    cases.push_back({.name = std::string(r.name) + "AsStep",
                     .stdin_bytes = answers[0] + answers[1] + r.line,
                     .status = 1,
                     .out_ends = kScanPrompts[2] + "\n",
                     .err_starts = r.err,
                     .files = {table_empty}});
  }
  cases.push_back({.name = "MegabyteOfBlanksBeforeAValue",
                   .stdin_bytes = mb_of(' ') + "2451545\n",
                   .status = 1,
                   .out_ends = kScanPrompts[1] + "\n",
                   .err_starts = kEof,
                   .files = {table_empty}});

  // ---- the row count ----
  cases.push_back({.name = "StepZero",
                   .stdin_bytes = "2451545\n2451547\n0\n1\n",
                   .status = 1,
                   .out_ends = select,
                   .err_starts = "\nrun-time error M6001: MATH\n- floating-point error: divide by zero\n",
                   .files = {banner_only}});
  cases.push_back({.name = "StepZeroOverAnEmptySpan",
                   .stdin_bytes = "2451545\n2451545\n0\n1\n",
                   .status = 1,
                   .out_ends = select,
                   .err_starts = "\nrun-time error M6002: MATH\n- floating-point error: invalid\n",
                   .files = {banner_only}});
  const std::string too_many = "TOO MANY ROWS: (LAST DAY - FIRST DAY) / STEP MUST BE BELOW 2147483647\n";
  for (const auto& [name, in] : std::vector<std::pair<std::string, std::string>>{
           {"RowCountBeyond32Bits", "0\n1e10\n1\n1\n"},
           {"RowCountBeyond32BitsByAFractionalStep", "2451545\n2451546\n1e-10\n1\n"},
           {"RowCountJustAtTheLimit", "0\n2147483647\n1\n1\n"}})
    cases.push_back({.name = name,
                     .stdin_bytes = in,
                     .status = 0,
                     .out_ends = select + too_many,
                     .files = {banner_only}});
  for (const auto& [name, in] : std::vector<std::pair<std::string, std::string>>{
           {"ReversedSpan", "2451545\n2451544\n1\n1\n"},
           {"ReversedSpanFarBeyond32Bits", "1e12\n0\n1\n1\n"},
           {"StepAwayFromTheLastDay", "2451545\n2451600\n-1\n1\n"}})
    cases.push_back({.name = name,
                     .stdin_bytes = in,
                     .status = 0,
                     .out_ends = select + kPlainStop,
                     .files = {{.name = "scan.txt", .equals = crlf(no_rows)}}});

  // ---- SERIES85 ----
  cases.push_back({.name = "SeriesMissing",
                   .series = Series::Missing,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = "\nrun-time error F1001: OPEN(SERIES85)\n- file not found\n",
                   .files = {table_empty}});
  cases.push_back({.name = "SeriesEmpty",
                   .series = Series::Empty,
                   .status = 1,
                   .out_equals = kLoading,
                   .err_starts = report_error("F2001", "READ", "SERIES85", "end of file"),
                   .err_has = {"line 1"},
                   .files = {table_empty}});
  cases.push_back({.name = "SeriesTooManyMainTerms",
                   .series = Series::TooManyMain,
                   .status = 1,
                   .out_equals = kLoading,
                   .err_starts = report_error("F2005", "READ", "SERIES85", ""),
                   .err_has = {"block 1", "line 220"},
                   .files = {table_empty}});

  // ---- the table cannot be written ----
  const std::string cannot_create = report_error("F1002", "OPEN", "scan.txt", "cannot open or create");
  const std::string one_day = "2451545\n2451545\n1\n1\n";
  cases.push_back({.name = "TableFileIsADirectory",
                   .stdin_bytes = one_day,
                   .setup = Setup::ReportIsDirectory,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create,
                   .files = {{.name = "scan.txt", .directory = true}}});
  cases.push_back({.name = "WorkingFolderRemoved",
                   .stdin_bytes = one_day,
                   .setup = Setup::WorkingFolderGone,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create});
  cases.push_back({.name = "ReadOnlyFolder",
                   .stdin_bytes = one_day,
                   .setup = Setup::ReadOnlyFolder,
                   .status = 1,
                   .out_equals = "",
                   .err_starts = cannot_create,
                   .files = {{.name = "scan.txt", .exists = false}}});
  cases.push_back({.name = "FileSizeLimitDuringTheRun",  // 1001 rows, some 420 kB
                   .stdin_bytes = "2451545\n2452545\n1\n1\n",
                   .setup = Setup::FileSizeLimit,
                   .status = 1,
                   .out_lacks = "Stop - ",
                   .err_starts = report_error("F3001", "WRITE", "scan.txt", "write failed"),
                   .prefix = Prefix::UnlimitedRun});
  cases.push_back({.name = "ConsoleIsAClosedPipe",
                   .stdin_bytes = one_day,
                   .setup = Setup::ClosedStdout,
                   .status = 1,
                   .err_starts = report_error("F3001", "WRITE", "console", "write failed"),
                   .files = {table_empty}});
  return cases;
}

// ---- running a case ----------------------------------------------------------------

std::string make_folder() {
  char tmpl[] = "/tmp/kav-hardening-XXXXXX";
  const char* d = mkdtemp(tmpl);
  return d ? d : "";
}

void remove_folder(const std::string& dir) {
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(dir, ec);
}

// Places SERIES85 and input.txt and prepares the setup; the returned action
// runs in the child before the program starts.
std::function<void()> prepare(const Case& c, const std::string& dir, const std::string& report) {
  if (c.series != Series::Missing) write_file(dir + "/SERIES85", series_text(c.series));
  if (c.input == InputFile::Text || c.input == InputFile::Unreadable)
    write_file(dir + "/input.txt", c.input_text);
  if (c.input == InputFile::Directory) fs::create_directory(dir + "/input.txt");
  if (c.input == InputFile::Unreadable) chmod((dir + "/input.txt").c_str(), 0);
  if (c.setup == Setup::ReportIsDirectory) fs::create_directory(dir + "/" + report);
  if (c.setup == Setup::ReadOnlyFolder) chmod(dir.c_str(), 0555);
  const Setup setup = c.setup;
  return [setup] {
    // As a shell leaves them: the program must set what it needs itself.
    signal(SIGPIPE, SIG_DFL);
    signal(SIGXFSZ, SIG_DFL);
    if (setup == Setup::FileSizeLimit) {
      const rlimit lim{static_cast<rlim_t>(kFileLimit), static_cast<rlim_t>(kFileLimit)};
      setrlimit(RLIMIT_FSIZE, &lim);
    }
    if (setup == Setup::WorkingFolderGone) {
      if (mkdir("gone", 0755) != 0 || chdir("gone") != 0 || rmdir("../gone") != 0) _exit(125);
    }
    if (setup == Setup::ClosedStdout) {
      int p[2];
      if (pipe(p) != 0) _exit(125);
      dup2(p[1], 1);
      close(p[0]);
      close(p[1]);
    }
  };
}

// A run of kavex in which every day fits: the file must be the start of
// echo (when read from a file), preamble and one block for every day from
// 1538432 on, the blocks as the console shows them with the record blank in
// front and, after the scale row, the verdict line that only the file gets.
std::string all_days_expected(const std::string& console, bool echo) {
  std::string out = (echo ? report_echo(kZeros, kZeros, kZeros) : "") + preamble_of_zeros();
  const std::size_t start = console.find(kStarted);
  EXPECT_NE(start, std::string::npos) << "no start banner";
  if (start == std::string::npos) return out;
  std::vector<std::string> lines;
  for (const std::string& l : testsupport::console_lines(console.substr(start + kStarted.size())))
    if (!has(l, " centuries from 25 done(-500 -> +2000)")) lines.push_back(l);
  const std::string dashes(40, '-');
  for (std::size_t k = 0; 14 * k < lines.size(); ++k) {
    const std::size_t first = 14 * k;
    EXPECT_EQ(lines[first], dashes) << "block " << k;
    if (first + 1 < lines.size()) {
      char jd[64];
      std::snprintf(jd, sizeof jd, "PLANETS FIT THE HOROSCOPE AT JD: %11d", 1538432 + static_cast<int>(k));
      EXPECT_EQ(lines[first + 1], jd);
      if (lines[first + 1] != jd) break;
    }
    for (std::size_t j = first; j < first + 14 && j < lines.size(); ++j) {
      out += " " + lines[j] + "\r\n";
      if (j == first + 9) out += " ORDER OF PLANETS  NOT DETERMINED BY BEST POINTS\r\n";
    }
  }
  // The first day is 31 December -501 (both date lines).
  EXPECT_TRUE(has(out, " YEAR/MONTH/DAY=   -501/ 12/ 31\r\n")) << starts(out, 3000);
  EXPECT_TRUE(has(out, "                  YEAR/MONTH/DAY=   -501/12/31\r\n"));
  return out;
}

void check_prefix(const Case& c, const std::string& program, const std::string& file,
                  const testsupport::ProcessResult& r) {
  std::string expected;
  if (c.prefix == Prefix::UnlimitedRun) {
    Case sound = c;
    sound.setup = Setup::None;
    const std::string dir = make_folder();
    const auto s = testsupport::run_process(program, dir, c.stdin_bytes, kTimeoutMs, prepare(sound, dir, ""));
    EXPECT_EQ(s.status, 0) << s.err;
    expected = read_file(dir + "/scan.txt");
    remove_folder(dir);
  } else {
    expected = all_days_expected(r.out, c.prefix == Prefix::AllDaysWithEcho);
  }
  EXPECT_GT(file.size(), 20000u) << "the run stopped before the limit";
  ASSERT_LE(file.size(), expected.size()) << "the file holds more than the run wrote";
  const auto diff = std::mismatch(file.begin(), file.end(), expected.begin());
  if (diff.first != file.end()) {
    const std::size_t at = static_cast<std::size_t>(diff.first - file.begin());
    const std::size_t from = at < 300 ? 0 : at - 300;
    ADD_FAILURE() << "the file is not the start of the run's output at byte " << at << ":\n"
                  << file.substr(from, 600) << "\n-- expected --\n"
                  << expected.substr(from, 600);
  }
}

// Standard error: a short report of printable lines.
void check_err(const Case& c, const std::string& err) {
  if (c.err_starts.empty()) {
    EXPECT_EQ(err, "");
    return;
  }
  EXPECT_EQ(starts(err, c.err_starts.size()), c.err_starts) << err.substr(0, 400);
  for (const std::string& part : c.err_has) EXPECT_TRUE(has(err, part)) << "missing '" << part << "' in\n" << err;
  EXPECT_TRUE(ends_with(err, "\n"));
  EXPECT_LE(err.size(), 400u) << "an overlong report";
  for (char ch : err) {
    const unsigned char u = static_cast<unsigned char>(ch);
    if (u != '\n' && (u < 0x20 || u >= 0x7f)) {
      ADD_FAILURE() << "raw byte " << static_cast<int>(u) << " in the report";
      break;
    }
  }
}

void run_case(const Case& c, const std::string& program, const std::string& report) {
  if (geteuid() == 0 && (c.setup == Setup::ReadOnlyFolder || c.input == InputFile::Unreadable))
    GTEST_SKIP() << "running as root, which writes into read-only folders and reads unreadable files";
  const std::string dir = make_folder();
  ASSERT_FALSE(dir.empty());
  const auto in_child = prepare(c, dir, report);
  const auto r = testsupport::run_process(program, dir, c.stdin_bytes, kTimeoutMs, in_child);
  if (c.setup == Setup::ReadOnlyFolder) chmod(dir.c_str(), 0755);

  ASSERT_NE(r.status, -1) << "no end within " << kTimeoutMs << " ms";
  EXPECT_EQ(r.status, c.status) << r.err.substr(0, 400) << "\nconsole tail:\n"
                                << r.out.substr(r.out.size() - std::min<std::size_t>(r.out.size(), 400));
  if (c.out_equals) {
    EXPECT_EQ(r.out, *c.out_equals);
  }
  if (!c.out_ends.empty()) {
    EXPECT_TRUE(ends_with(r.out, c.out_ends))
        << "console ends:\n" << r.out.substr(r.out.size() - std::min(r.out.size(), c.out_ends.size() + 200));
  }
  for (const std::string& part : c.out_has) EXPECT_TRUE(has(r.out, part)) << "missing on the console: " << part;
  if (!c.out_lacks.empty()) {
    EXPECT_FALSE(has(r.out, c.out_lacks));
  }
  if (c.status != 0) {
    EXPECT_FALSE(has(r.out, kPlainStop)) << "a failure shown as a normal end";
  }
  check_err(c, r.err);

  // The series file is only read; a missing one is not created.
  if (c.series == Series::Missing) {
    EXPECT_FALSE(fs::exists(dir + "/SERIES85"));
  } else {
    EXPECT_EQ(read_file(dir + "/SERIES85"), series_text(c.series));
  }

  for (const FileCheck& f : c.files) {
    const std::string path = dir + "/" + f.name;
    EXPECT_EQ(fs::exists(path), f.exists) << f.name;
    if (!f.exists) continue;
    EXPECT_EQ(fs::is_directory(path), f.directory) << f.name;
    if (f.directory) continue;
    const std::string text = read_file(path);
    if (f.equals) {
      EXPECT_EQ(text, *f.equals) << f.name;
    }
    if (!f.starts.empty()) {
      EXPECT_EQ(starts(text, f.starts.size()), f.starts) << f.name;
    }
    if (!f.contains.empty()) {
      EXPECT_TRUE(has(text, f.contains)) << f.name;
    }
    if (!f.ends.empty()) {
      EXPECT_TRUE(ends_with(text, f.ends))
          << f.name << " ends:\n" << text.substr(text.size() - std::min<std::size_t>(text.size(), 300));
    }
    if (!f.lacks.empty()) {
      EXPECT_FALSE(has(text, f.lacks)) << f.name;
    }
  }
  if (c.prefix != Prefix::None) {
    const std::string file = read_file(dir + "/" + report);
    if (c.setup == Setup::FileSizeLimit) {
      EXPECT_EQ(file.size(), static_cast<std::size_t>(kFileLimit)) << "bytes the limit let through were lost";
    }
    check_prefix(c, program, file, r);
  }
  remove_folder(dir);
}

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

class KavexHardening : public ::testing::TestWithParam<Case> {};
TEST_P(KavexHardening, EndsAsItShould) { run_case(GetParam(), kKavex, "otvet.txt"); }
INSTANTIATE_TEST_SUITE_P(Cases, KavexHardening, ::testing::ValuesIn(kavex_cases()), case_name);

class ScanHardening : public ::testing::TestWithParam<Case> {};
TEST_P(ScanHardening, EndsAsItShould) { run_case(GetParam(), kScanProgram, "scan.txt"); }
INSTANTIATE_TEST_SUITE_P(Cases, ScanHardening, ::testing::ValuesIn(scan_cases()), case_name);

// ---- a disk that fills up ------------------------------------------------------------
//
// The program runs on a small tmpfs mounted in a mount namespace of its own
// (a user namespace makes that possible without privileges); the report file
// is copied out before the namespace goes away. Skipped where mounting is
// not allowed.

struct DiskCase {
  const char* name;
  std::string program;
  std::string report;
  std::string stdin_bytes;
  std::string input_text;  // empty: no input.txt
};

void PrintTo(const DiskCase& c, std::ostream* os) { *os << c.name; }

class DiskFull : public ::testing::TestWithParam<DiskCase> {};

TEST_P(DiskFull, ReportedWithTheWrittenRecordsKept) {
  const DiskCase& d = GetParam();
  const std::string dir = make_folder();
  ASSERT_FALSE(dir.empty());
  write_file(dir + "/SERIES85", series_text(Series::Minimal));
  if (!d.input_text.empty()) write_file(dir + "/input.txt", d.input_text);
  const std::string script =
      "#!/bin/sh\n"
      "command -v unshare >/dev/null 2>&1 || exit 77\n"
      "exec unshare --user --map-root-user --mount sh -c '\n"
      "  mkdir disk && mount -t tmpfs -o size=256k tmpfs disk 2>/dev/null || exit 77\n"
      "  touch mounted\n"
      "  cp SERIES85 disk/ && { [ ! -e input.txt ] || cp input.txt disk/; } || exit 77\n"
      "  cd disk && \"$0\"; st=$?\n"
      "  cp " + d.report + " ..; exit $st' '" + d.program + "'\n";
  write_file(dir + "/run-on-small-disk", script);
  chmod((dir + "/run-on-small-disk").c_str(), 0755);
  const auto r = testsupport::run_process(dir + "/run-on-small-disk", dir, d.stdin_bytes, kTimeoutMs,
                                          [] { signal(SIGPIPE, SIG_DFL); });
  if (!fs::exists(dir + "/mounted")) {
    remove_folder(dir);
    GTEST_SKIP() << "no tmpfs could be mounted here (status " << r.status << ") " << r.err;
  }
  ASSERT_NE(r.status, -1) << "no end within " << kTimeoutMs << " ms";
  EXPECT_EQ(r.status, 1) << r.err;
  const std::string head =
      "\nrun-time error F3001: WRITE(" + d.report + ")\n- write failed: No space left on device\n";
  EXPECT_EQ(r.err, head);
  EXPECT_FALSE(has(r.out, kPlainStop));
  const std::string file = read_file(dir + "/" + d.report);
  Case c{.name = d.name, .stdin_bytes = d.stdin_bytes, .input_text = d.input_text};
  c.input = d.input_text.empty() ? InputFile::Absent : InputFile::Text;
  c.prefix = d.report == "scan.txt" ? Prefix::UnlimitedRun : Prefix::AllDaysWithEcho;
  EXPECT_GT(file.size(), 200000u) << "the disk was not filled with records";
  check_prefix(c, d.program, file, r);
  remove_folder(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, DiskFull,
    ::testing::Values(DiskCase{"Kavex", kKavex, "otvet.txt", "", read_file(kAllDaysFit)},
                      DiskCase{"Scan", kScanProgram, "scan.txt", "2451545\n2452545\n1\n1\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
