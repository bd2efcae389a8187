// Formatted records: the descriptor strings the programs use, written and read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "io/format.h"
#include "io/stop.h"
#include "io/units.h"
#include "io_test_util.h"

namespace {

using iotest::crlf_records;
using iotest::slurp;
using iotest::spit;

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

std::string rec(const char* fmt, std::vector<io::Value> values) {
  return io::format_record(io::Format(fmt), values);
}

// ---- writing ---------------------------------------------------------------

TEST(FormatWrite, ProgramFormats) {
  struct Case {
    const char* fmt;
    std::vector<io::Value> values;
    std::string want;
  };
  const Case cases[] = {
      {"(X,'YEAR/MONTH/DAY= ',I6,'/ ',I2,'/ ',I2)", {2000, 1, 1}, " YEAR/MONTH/DAY=   2000/  1/  1"},
      {"(X,'YEAR/MONTH/DAY= ',I6,'/ ',I2,'/ ',I2)", {-4712, 12, 31}, " YEAR/MONTH/DAY=  -4712/ 12/ 31"},
      {"(X,'                 YEAR/MONTH/DAY= ',I6,'/',I2,'/',I2)", {2000, 1, 1},
       " " + blanks(17) + "YEAR/MONTH/DAY=   2000/ 1/ 1"},
      {"(36X,' JD= ',F11.2)", {2451545.0}, blanks(36) + " JD=  2451545.00"},
      {"(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)",
       {280.5, 0.0, -12.25, 359.96, 1000.0, 5.04, -0.04},
       "      280.5     .0  -12.3   360.0   *****    5.0      .0"},
      {"(X,'from: ',F4.1,3X,F4.1,3X,F4.1,4X,F4.1,4X,F4.1,3X,F4.1,4X,F4.1)",
       {10.5, 1.0, 3.0, 4.0, 5.0, 6.0, 100.0},
       " from: 10.5    1.0    3.0     4.0     5.0    6.0    ****"},
      {"('         (with dopusk = ',F4.1,' degrees)')", {5.0}, "         (with dopusk =  5.0 degrees)"},
      {"(X,' ORDER IS OK  +++++++ (with ',F4.1,' deg accuracy)')", {1.5},
       "  ORDER IS OK  +++++++ (with  1.5 deg accuracy)"},
      {"(X,'AVERAGE DISTANCE FROM BEST POINTS:  ',F5.1,' deg')", {3.14159},
       " AVERAGE DISTANCE FROM BEST POINTS:    3.1 deg"},
      // Degree row of the table: 72 characters, "(deg)" in columns 68 to 72.
      {"(X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1,10X,F5.1,X,'(deg)')",
       {1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0},
       "   1.0    2.0    3.0     4.0     5.0    6.0     7.0            8.0 (deg)"},
      {"(X,F5.2,2X,F5.2,2X,F5.2,3X,F5.2,3X,F5.2,2X,F5.2,3X,F5.2,10X,F5.2,X,'(CS)')",
       {11.99, 0.37, 0.004, 12.0, 5.555, -0.004, 100.0, 6.5},
       " 11.99    .37    .00   12.00    5.55    .00   *****           6.50 (CS)"},  // 5.555 is 5.5549999999999997
      {"(X,F5.2)", {5.5550000000000006}, "  5.56"},
      // The lunar file's records, written back with their own formats.
      {"(I3,4I3,2X,F13.5)", {1, 0, 0, 1, 0, 22639.58578}, "  1  0  0  1  0    22639.58578"},
      {"(I3,13I3,2(2X,F9.5))", {1, 0, 18, -16, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 26.54261, 14.24883},
       "  1  0 18-16  0  0  0  0  0  0  0  0 -1  0   26.54261   14.24883"},
  };
  for (const Case& c : cases) EXPECT_EQ(rec(c.fmt, c.values), c.want) << c.fmt;
  EXPECT_EQ(rec(cases[9].fmt, cases[9].values).size(), 72u);
}

TEST(FormatWrite, DescriptorsRepeatsAndTrailingTexts) {
  struct Case {
    const char* fmt;
    std::vector<io::Value> values;
    std::string want;
  };
  const Case cases[] = {
      {"(X,2(2X,F9.5))", {1.5, -2.25}, "     1.50000   -2.25000"},
      {"(X,3I3)", {1, 2, 3}, "   1  2  3"},
      {"(X,2('ab',I2))", {1, 2}, " ab 1ab 2"},
      {"(2(X,2(I1)))", {1, 2, 3, 4}, " 12 34"},
      {"(X,10X,'|')", {}, blanks(11) + "|"},
      // After the last value: texts and blanks up to the next I or F, or the end.
      {"(X,I2,' a',I2,' b')", {5}, "  5 a"},
      {"(X,I2,' a',I2,' b')", {5, 6}, "  5 a 6 b"},
      {"(X,F5.1,X,'(deg)')", {45.0}, "  45.0 (deg)"},
      {"(X,'text')", {}, " text"},
      {"(X,'it''s')", {}, " it's"},
      {"(X,F4.1,2X)", {1.0}, "  1.0  "},
      // Blanks and lower case in the descriptor string.
      {"( x , f5.1 , 2x , i3 )", {2.5, 7}, "   2.5    7"},
  };
  for (const Case& c : cases) EXPECT_EQ(rec(c.fmt, c.values), c.want) << c.fmt;
}

// Data files in the convention of C's printf "%.5f": leading zero (LZP) and
// rounding to nearest from the binary value (RN); the programs' formats use neither.
TEST(FormatWrite, LeadingZeroAndNearestRoundingModes) {
  struct Case {
    const char* fmt;
    std::vector<io::Value> values;
    std::string want;
  };
  const Case cases[] = {
      {"(LZP,F9.5)", {0.00003}, "  0.00003"},
      {"(LZP,F9.5)", {-0.01007}, " -0.01007"},
      {"(LZP,F9.5)", {26.54261}, " 26.54261"},
      {"(LZP,F6.5)", {0.01562}, ".01562"},       // no blank to spare: no zero
      {"(LZP,F5.1)", {1000.0}, "*****"},
      {"(F5.2,LZP,F5.2,LZS,F5.2)", {0.37, 0.37, 0.37}, "  .37 0.37  .37"},
      {"(I3,LZP,F5.2)", {7, 0.5}, "  7 0.50"},    // I fields are not touched
      // 0.015625 = 1/64 lies exactly on the tie: nearest-even keeps 2, the
      // default (half up on 17 digits) gives 3.
      {"(RN,F9.5)", {0.015625}, "   .01562"},
      {"(F9.5)", {0.015625}, "   .01563"},
      // 105.283485 is stored as 105.28348499999999888...: below the tie.
      {"(RN,F9.5)", {105.283485}, "105.28348"},
      {"(F9.5)", {105.283485}, "105.28349"},
      {"(LZP,RN,F9.5)", {-0.000001}, " -0.00000"},  // sign kept, as %.5f
      {"(RN,F3.0)", {0.3}, " 0."},
      {"(RN,F9.5,RP,F9.5)", {0.015625, 0.015625}, "   .01562   .01563"},
      {"(LZP,RN,I3,2(2X,F9.5))", {1, 359.999999, 0.0}, "  1  360.00000    0.00000"},
  };
  for (const Case& c : cases) EXPECT_EQ(rec(c.fmt, c.values), c.want) << c.fmt;
}

TEST(FormatWrite, MalformedDescriptorStringsAreRejected) {
  for (const char* bad : {"", "X", "(X", "(X,'abc)", "(F5)", "(F5.5)", "(Q3)", "(I)", "(X) Y",
                          // Fields wider than the number text routines build (64 columns).
                          "(F300.290)", "(I65)", "(F65.2)",
                          // Nested repeats that would expand to 10^12 descriptors.
                          "(9999(9999(9999(I1))))", "(5000A)",
                          // Mode descriptors: only LZP, LZS, RN, RP, without repeat counts.
                          "(LZ,F5.1)", "(LZA)", "(RZ,F5.1)", "(2LZP,F5.1)", "(R)"})
    EXPECT_THROW(io::Format{bad}, std::invalid_argument) << "'" << bad << "'";
}

class FormatUnits : public iotest::UnitsTest {};

TEST_F(FormatUnits, WriteToFileAndConsole) {
  const io::Format row("(6X,F5.1,2X,F5.1)");
  const io::Format jd("(36X,' JD= ',F11.2)");
  const std::string path = dir.file("out.txt");
  io::open(3, path, io::OpenMode::Replace);
  io::write_fmt(3, row, 45.0, -2.5);
  io::write_fmt(3, jd, 2451545.0);
  io::close(3);
  EXPECT_EQ(slurp(path), "       45.0   -2.5\r\n" + blanks(36) + " JD=  2451545.00\r\n");

  // The console shows the record without its first character.
  const std::string shown = dir.file("console.txt");
  const int fd = ::open(shown.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  io::bind_console(-1, fd);
  io::write_fmt(io::console, row, 45.0, -2.5);
  io::flush_all();
  ::close(fd);
  io::reset_units();
  EXPECT_EQ(slurp(shown), "      45.0   -2.5\n");
}

// ---- reading ---------------------------------------------------------------

TEST(FormatRead, RealFields) {
  struct Case {
    const char* fmt;
    const char* record;
    std::vector<double> want;  // -7 = kept
    io::ReadStatus status;
  };
  const Case cases[] = {
      {"(F9.5)", "123456789", {1234.56789}, io::ReadStatus::Ok},
      {"(F9.5)", "  1.5    ", {1.5}, io::ReadStatus::Ok},
      {"(F9.5)", "         ", {0.0}, io::ReadStatus::Ok},
      {"(F9.5)", "", {0.0}, io::ReadStatus::Ok},
      {"(F9.5)", " -1.5E2  ", {-150.0}, io::ReadStatus::Ok},
      {"(F9.5)", "  2.5D3", {2500.0}, io::ReadStatus::Ok},
      {"(F9.5)", " 1 5     ", {0.00015}, io::ReadStatus::Ok},  // blanks ignored: "15"
      {"(F9.5,F9.5)", "1.5,2.5", {1.5, 2.5}, io::ReadStatus::Ok},  // a comma ends a field
      {"(F9.5,F9.5)", ",2.5", {0.0, 2.5}, io::ReadStatus::Ok},
      {"(F9.5,F9.5)", "  1.5", {1.5, 0.0}, io::ReadStatus::Ok},  // the record ends in the first
      {"(F4.1,F4.1)", "1.252.5 xx", {1.25, 2.5}, io::ReadStatus::Ok},  // the rest is passed over
      {"(2X,F4.1)", "ab 3.5", {3.5}, io::ReadStatus::Ok},
      {"(F5.1)", "1.2.3", {-7.0}, io::ReadStatus::Error},
      {"(F5.1)", "  x  ", {-7.0}, io::ReadStatus::Error},
      {"(F5.1,F5.1)", "  1.5  abc", {1.5, -7.0}, io::ReadStatus::Error},  // first keeps its value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fmt) + " of '" + c.record + "'");
    std::vector<double> v(c.want.size(), -7.0);
    std::vector<io::FmtVar> vars;
    for (double& d : v) vars.push_back(io::fvar(d));
    EXPECT_EQ(io::parse_fmt_record(c.record, io::Format(c.fmt), vars), c.status);
    EXPECT_EQ(v, c.want);
  }
}

TEST(FormatRead, IntegerFields) {
  struct Case {
    const char* fmt;
    const char* record;
    std::vector<std::int32_t> want;  // -7 = kept
    io::ReadStatus status;
  };
  const Case cases[] = {
      {"(I4)", " 218", {218}, io::ReadStatus::Ok},
      {"(I3)", "-12", {-12}, io::ReadStatus::Ok},
      {"(I4)", " 1 2", {12}, io::ReadStatus::Ok},
      {"(I3)", "   ", {0}, io::ReadStatus::Ok},
      {"(I5,I5)", "12,34", {12, 34}, io::ReadStatus::Ok},
      {"(I3,I3)", "  1", {1, 0}, io::ReadStatus::Ok},
      {"(2X,I3)", "ab 42", {42}, io::ReadStatus::Ok},
      {"(3I2)", " 1-2+3", {1, -2, 3}, io::ReadStatus::Ok},
      {"(I3)", "1.5", {-7}, io::ReadStatus::Error},
      {"(I3)", "abc", {-7}, io::ReadStatus::Error},
      {"(I3)", " 1-", {-7}, io::ReadStatus::Error},
      {"(I12)", " 99999999999", {-7}, io::ReadStatus::Error},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fmt) + " of '" + c.record + "'");
    std::vector<std::int32_t> v(c.want.size(), -7);
    std::vector<io::FmtVar> vars;
    for (std::int32_t& i : v) vars.push_back(io::fvar(i));
    EXPECT_EQ(io::parse_fmt_record(c.record, io::Format(c.fmt), vars), c.status);
    EXPECT_EQ(v, c.want);
  }
}

TEST(FormatRead, LunarFileRecords) {
  // A main-problem record and a perturbation record with abutting fields.
  std::int32_t n = 0, m[13] = {};
  double a = 0, phi = 0;
  {
    const io::FmtVar vars[] = {io::fvar(n), io::fvar(m[0]), io::fvar(m[1]), io::fvar(m[2]),
                               io::fvar(m[3]), io::fvar(a)};
    ASSERT_EQ(io::parse_fmt_record("  2  2  0 -1  0     4586.43830", io::Format("(I3,4I3,2X,F13.5)"),
                                   vars),
              io::ReadStatus::Ok);
    EXPECT_EQ(n, 2);
    EXPECT_EQ((std::vector<std::int32_t>(m, m + 4)), (std::vector<std::int32_t>{2, 0, -1, 0}));
    EXPECT_EQ(a, 4586.43830);
  }
  {
    std::vector<io::FmtVar> vars{io::fvar(n)};
    for (std::int32_t& k : m) vars.push_back(io::fvar(k));
    vars.push_back(io::fvar(phi));
    vars.push_back(io::fvar(a));
    ASSERT_EQ(io::parse_fmt_record("  1  0 18-16  0  0  0  0  0  0  0  0 -1  0   26.54261   14.24883",
                                   io::Format("(I3,13I3,2(2X,F9.5))"), vars),
              io::ReadStatus::Ok);
    EXPECT_EQ(n, 1);
    EXPECT_EQ((std::vector<std::int32_t>(m, m + 13)),
              (std::vector<std::int32_t>{0, 18, -16, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0}));
    EXPECT_EQ(phi, 26.54261);
    EXPECT_EQ(a, 14.24883);
  }
}

TEST(FormatRead, OneCharacterWithA) {
  const io::Format a("(A)");
  struct {
    const char* record;
    char want;
  } const cases[] = {{"12", '1'}, {"", ' '}, {" 1", ' '}, {"3", '3'}};
  for (const auto& c : cases) {
    char ch = 'Z';
    const io::FmtVar vars[] = {io::fvar(ch)};
    EXPECT_EQ(io::parse_fmt_record(c.record, a, vars), io::ReadStatus::Ok);
    EXPECT_EQ(ch, c.want) << "'" << c.record << "'";
  }
}

TEST_F(FormatUnits, ReadsRecordByRecordWithStatus) {
  const std::string path = dir.file("in.txt");
  spit(path, "12\r\n\r\n 7x\r\n  5\r\n");
  io::open(4, path, io::OpenMode::Old);
  char ch = 'Z';
  const io::FmtVar cv[] = {io::fvar(ch)};
  const io::Format a("(A)"), i3("(I3)");
  EXPECT_EQ(io::try_read_fmt(4, a, cv), io::ReadStatus::Ok);
  EXPECT_EQ(ch, '1');
  EXPECT_EQ(io::try_read_fmt(4, a, cv), io::ReadStatus::Ok);
  EXPECT_EQ(ch, ' ');
  std::int32_t k = -7;
  const io::FmtVar kv[] = {io::fvar(k)};
  EXPECT_EQ(io::try_read_fmt(4, i3, kv), io::ReadStatus::Error);
  EXPECT_EQ(k, -7);
  EXPECT_EQ(io::try_read_fmt(4, i3, kv), io::ReadStatus::Ok);  // the next record
  EXPECT_EQ(k, 5);
  EXPECT_EQ(io::try_read_fmt(4, i3, kv), io::ReadStatus::EndOfFile);
  try {
    io::read_fmt(4, i3, kv);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_EQ(s.text.rfind("run-time error F", 0), 0u) << s.text;
    EXPECT_NE(s.text.find(": READ(" + path + ")\n- "), std::string::npos) << s.text;
  }
}

TEST_F(FormatUnits, BadFieldWithoutBranchEndsTheProgram) {
  const std::string path = dir.file("in.txt");
  spit(path, "abc\n");
  io::open(4, path, io::OpenMode::Old);
  std::int32_t k = 0;
  const io::FmtVar kv[] = {io::fvar(k)};
  try {
    io::read_fmt(4, io::Format("(I3)"), kv);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_NE(s.text.find(": READ(" + path + ")\n- "), std::string::npos) << s.text;
  }
}

TEST_F(FormatUnits, MenuAnswerFromTheConsole) {
  const std::string path = dir.file("keys.txt");
  spit(path, "12\n\n 1\n");
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  io::bind_console(fd, -1);
  const io::Format a("(A)");
  char ch = 'Z';
  const io::FmtVar cv[] = {io::fvar(ch)};
  std::string got;
  while (io::try_read_fmt(io::console, a, cv) == io::ReadStatus::Ok) got += ch;
  EXPECT_EQ(got, "1  ");
  io::reset_units();
  ::close(fd);
}

}  // namespace
