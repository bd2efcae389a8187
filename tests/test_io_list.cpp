// List-directed records: the layout of written records (field widths, the
// 79-character room, splits) and the reading of values (separators, nulls,
// slash, repeats, text, errors and end of file).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "io/format.h"
#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"
#include "io_test_util.h"

namespace {

using iotest::crlf_records;
using iotest::slurp;
using iotest::spit;

// ---- writing ---------------------------------------------------------------

// Strings go to write_list as views.
inline std::string_view item(const std::string& s) { return s; }
template <class T>
const T& item(const T& t) {
  return t;
}

class ListWrite : public iotest::UnitsTest {
 protected:
  // The records that one list-directed write leaves in a file.
  template <class... Items>
  std::vector<std::string> records(const Items&... items) {
    const std::string path = dir.file("list.txt");
    io::open(3, path, io::OpenMode::Replace);
    io::write_list(3, item(items)...);
    io::close(3);
    return crlf_records(slurp(path));
  }
};

std::string blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

TEST_F(ListWrite, DocumentedRecords) {
  EXPECT_EQ(records("YEAR/MONTH/DAY= ", 2000, "/", 1, "/", 1),
            std::vector<std::string>{" YEAR/MONTH/DAY=        2000/           1/           1"});
  EXPECT_EQ(records(5, -5), std::vector<std::string>{"           5          -5"});
  EXPECT_EQ(records("X= ", 1.0), std::vector<std::string>{" X=        1.000000000000000"});
}

TEST_F(ListWrite, FieldWidthsElevenTwelveAndTwentyFourTwentyFive) {
  // First number of the write 11 or 24 columns, every later one 12 or 25;
  // texts in between do not count as numbers.
  EXPECT_EQ(records(1.0, 2.0),
            std::vector<std::string>{" " + blanks(7) + "1.000000000000000" + blanks(8) +
                                     "2.000000000000000"});
  EXPECT_EQ(records(7, -3.25),
            std::vector<std::string>{" " + blanks(10) + "7" + blanks(7) + "-3.250000000000000"});
  EXPECT_EQ(records(0.5, 3),
            std::vector<std::string>{" " + blanks(2) + "5.000000000000000E-001" + blanks(11) + "3"});
  EXPECT_EQ(records("a", 1, "b", 2),
            std::vector<std::string>{" a" + blanks(10) + "1b" + blanks(11) + "2"});
  EXPECT_EQ(records(INT32_MIN), std::vector<std::string>{" -2147483648"});
  EXPECT_EQ(records(1, INT32_MIN), std::vector<std::string>{" " + blanks(10) + "1 -2147483648"});
  EXPECT_EQ(records("text only"), std::vector<std::string>{" text only"});
  EXPECT_EQ(records("trailing  "), std::vector<std::string>{" trailing  "});
}

TEST_F(ListWrite, WriteWithoutItemsIsOneBlankRecord) {
  EXPECT_EQ(records(), std::vector<std::string>{" "});
}

TEST_F(ListWrite, TextsSplitAtTheRoom) {
  const std::string t40(40, 'a'), t38(38, 'b'), t50(50, 'c');
  // 40 + 38 = 78 < 79: one record of 79 characters.
  EXPECT_EQ(records(t40, t38), std::vector<std::string>{" " + t40 + t38});
  // 40 + 50: the first 39 of the 50 fill the record (80 characters), the last
  // 11 go on in a record of their own behind a blank.
  const auto r = records(t40, t50);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], " " + t40 + t50.substr(0, 39));
  EXPECT_EQ(r[0].size(), 80u);
  EXPECT_EQ(r[1], " " + t50.substr(39));
  EXPECT_EQ(r[1].size(), 12u);
  // A long text runs over several records, 79 characters each.
  std::string t200;
  for (int i = 0; i < 200; ++i) t200 += static_cast<char>('A' + i % 26);
  EXPECT_EQ(records(t200), (std::vector<std::string>{" " + t200.substr(0, 79),
                                                      " " + t200.substr(79, 79),
                                                      " " + t200.substr(158)}));
  // After a number (11 columns) the room is 68.
  const std::string t70(70, 'd');
  EXPECT_EQ(records(1, t70), (std::vector<std::string>{" " + blanks(10) + "1" + t70.substr(0, 68),
                                                        " " + t70.substr(68)}));
}

TEST_F(ListWrite, NumberThatDoesNotFitOpensTheNextRecord) {
  const std::string f24_1 = blanks(7) + "1.000000000000000";
  // Room 79 - 55 = 24 is not larger than 24: the real opens a new record,
  // 24 columns wide with no record blank of its own in front.
  EXPECT_EQ(records(std::string(55, 'x'), 1.0),
            (std::vector<std::string>{" " + std::string(55, 'x'), f24_1}));
  // Room 25 > 24: it still fits, the record is 79 characters after the blank.
  const auto fits = records(std::string(54, 'x'), 1.0);
  ASSERT_EQ(fits.size(), 1u);
  EXPECT_EQ(fits[0], " " + std::string(54, 'x') + f24_1);
  // 24 + 25 + 25 = 74 leaves 5: the fourth real goes to a record of its own, 25 wide.
  EXPECT_EQ(records(1.0, 2.0, 3.0, 4.0),
            (std::vector<std::string>{" " + f24_1 + blanks(8) + "2.000000000000000" + blanks(8) +
                                          "3.000000000000000",
                                      blanks(8) + "4.000000000000000"}));
  // Seven integers: 11 + 5 x 12 = 71 leaves 8, the seventh (12) moves on.
  EXPECT_EQ(records(1, 2, 3, 4, 5, 6, 7),
            (std::vector<std::string>{" " + blanks(10) + "1" + blanks(11) + "2" + blanks(11) + "3" +
                                          blanks(11) + "4" + blanks(11) + "5" + blanks(11) + "6",
                                      blanks(11) + "7"}));
  // A text after a moved number continues that record; its own split starts
  // the next record with a blank.
  EXPECT_EQ(records(std::string(60, 'y'), 2.5, std::string(60, 'z')),
            (std::vector<std::string>{" " + std::string(60, 'y'),
                                      blanks(7) + "2.500000000000000" + std::string(55, 'z'),
                                      " " + std::string(5, 'z')}));
}

TEST_F(ListWrite, EachWriteStartsAfreshAndRecordsAccumulate) {
  const std::string path = dir.file("two.txt");
  io::open(3, path, io::OpenMode::Replace);
  io::write_list(3, 1);
  io::write_list(3, 2);  // a new write: 11 columns again
  io::write_list(3, item(std::string(70, 'q')));
  io::write_list(3, item(std::string(70, 'r')));  // the room starts again at 79
  io::close(3);
  EXPECT_EQ(crlf_records(slurp(path)),
            (std::vector<std::string>{" " + blanks(10) + "1", " " + blanks(10) + "2",
                                      " " + std::string(70, 'q'), " " + std::string(70, 'r')}));
}

// ---- reading ---------------------------------------------------------------

class ListRead : public iotest::UnitsTest {
 protected:
  void input(const std::string& bytes) {
    const std::string path = dir.file("in.txt");
    spit(path, bytes);
    io::open(4, path, io::OpenMode::Old);
  }
  io::ReadStatus reals(std::vector<double>& v) {
    std::vector<io::ListVar> vars;
    for (double& d : v) vars.push_back(io::var(d));
    return io::try_read_list(4, vars);
  }
};

const char* status_name(io::ReadStatus s) {
  switch (s) {
    case io::ReadStatus::Ok: return "Ok";
    case io::ReadStatus::Error: return "Error";
    case io::ReadStatus::EndOfFile: return "EndOfFile";
  }
  return "?";
}

constexpr double K = 9.0;  // a variable's value before the read

TEST_F(ListRead, RealsTable) {
  struct Case {
    const char* input;
    std::vector<double> want;  // size = number of variables, K = kept
    io::ReadStatus status;
    bool next_record;  // a later read gets the line "77" that follows
  };
  const Case cases[] = {
      // Empty lines skipped, the rest of the record passed over.
      {"\n   \n2451545.5 junk\n77\n", {2451545.5}, io::ReadStatus::Ok, true},
      {"1,5\n77\n", {1.0}, io::ReadStatus::Ok, true},
      {"2.5D3\n77\n", {2500.0}, io::ReadStatus::Ok, true},
      {"abc\n77\n", {K}, io::ReadStatus::Error, true},
      {"  7  \n77\n", {7.0}, io::ReadStatus::Ok, true},
      {"-2, +3\n77\n", {-2.0, 3.0}, io::ReadStatus::Ok, true},
      {"1\t2\n77\n", {1.0, 2.0}, io::ReadStatus::Ok, true},
      {"1.5\r\n77\r\n", {1.5}, io::ReadStatus::Ok, true},  // CR before LF is not data
      {"1 2 3 4 5\n77\n", {1.0, 2.0}, io::ReadStatus::Ok, true},
      // The values run on over further records.
      {"1 2\n\n3\n77\n", {1.0, 2.0, 3.0}, io::ReadStatus::Ok, true},
      {"10.5 1.0 3 4 5 6 7\n77\n", {10.5, 1.0, 3, 4, 5, 6, 7}, io::ReadStatus::Ok, true},
      {"10.5 1.0 3\n4,5,6,7\n77\n", {10.5, 1.0, 3, 4, 5, 6, 7}, io::ReadStatus::Ok, true},
      // Null values.
      {",2.5,,4\n77\n", {K, 2.5, K, 4.0}, io::ReadStatus::Ok, true},
      {"1 ,, 3\n77\n", {1.0, K, 3.0}, io::ReadStatus::Ok, true},
      {"1 , , 3\n77\n", {1.0, K, 3.0}, io::ReadStatus::Ok, true},
      {"1,\n2\n77\n", {1.0, 2.0}, io::ReadStatus::Ok, true},  // the comma ends the value only
      // Slash.
      {"1 2 / 3\n77\n", {1.0, 2.0, K, K}, io::ReadStatus::Ok, true},
      {"/\n77\n", {K}, io::ReadStatus::Ok, true},
      {"1,/\n77\n", {1.0, K}, io::ReadStatus::Ok, true},
      // Repeats.
      {"3*1.5 2\n77\n", {1.5, 1.5, 1.5, 2.0}, io::ReadStatus::Ok, true},
      {"2* 5\n77\n", {K, K, 5.0}, io::ReadStatus::Ok, true},
      {"2*,5\n77\n", {K, K, 5.0}, io::ReadStatus::Ok, true},
      {"2*\n5\n77\n", {K, K, 5.0}, io::ReadStatus::Ok, true},
      {"5*2\n77\n", {2.0, 2.0}, io::ReadStatus::Ok, true},
      // Errors: variables filled before the bad value keep their new values.
      {"1 2 x 4\n77\n", {1.0, 2.0, K, K}, io::ReadStatus::Error, true},
      {"1e400\n77\n", {K}, io::ReadStatus::Error, true},
      {"'1.5'\n77\n", {K}, io::ReadStatus::Error, true},
      {"1.5.5\n77\n", {K}, io::ReadStatus::Error, true},
      // End of file before every variable has a value.
      {"", {K}, io::ReadStatus::EndOfFile, false},
      {"\n\n  \n", {K}, io::ReadStatus::EndOfFile, false},
      {"1\n", {1.0, K}, io::ReadStatus::EndOfFile, false},
      {"1 2", {1.0, 2.0}, io::ReadStatus::Ok, false},  // last line without LF
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("input '") + c.input + "'");
    io::reset_units();
    input(c.input);
    std::vector<double> v(c.want.size(), K);
    EXPECT_STREQ(status_name(reals(v)), status_name(c.status));
    EXPECT_EQ(v, c.want);
    std::vector<double> next{0.0};
    if (c.next_record) {
      EXPECT_EQ(reals(next), io::ReadStatus::Ok);
      EXPECT_EQ(next[0], 77.0);
    } else {
      EXPECT_EQ(reals(next), io::ReadStatus::EndOfFile);
    }
  }
}

TEST_F(ListRead, TextTable) {
  struct Case {
    const char* input;
    std::size_t len;
    const char* want;  // len characters
    io::ReadStatus status;
  };
  const Case cases[] = {
      {"#comment\n", 1, "#", io::ReadStatus::Ok},
      {"# Sun  Moon\n", 1, "#", io::ReadStatus::Ok},
      {"\n\n  #\n", 1, "#", io::ReadStatus::Ok},
      {"'#' x\n", 1, "#", io::ReadStatus::Ok},
      {"\"ab\"\n", 1, "a", io::ReadStatus::Ok},
      {"''\n", 1, " ", io::ReadStatus::Ok},
      {"abc,def\n", 1, "a", io::ReadStatus::Ok},
      {"1.5 2.5\n", 1, "1", io::ReadStatus::Ok},
      {",x\n", 1, "Z", io::ReadStatus::Ok},  // null: the variable keeps its value
      {"/\n", 1, "Z", io::ReadStatus::Ok},
      {"", 1, "Z", io::ReadStatus::EndOfFile},
      {"ab\n", 4, "ab  ", io::ReadStatus::Ok},
      {"abcdef\n", 4, "abcd", io::ReadStatus::Ok},
      {"'a b' c\n", 4, "a b ", io::ReadStatus::Ok},
      {"'it''s'\n", 4, "it's", io::ReadStatus::Ok},
      {"\"a,b/\"\n", 4, "a,b/", io::ReadStatus::Ok},
      {"ab/cd\n", 4, "ab  ", io::ReadStatus::Ok},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("input '") + c.input + "'");
    io::reset_units();
    input(c.input);
    std::string buf(c.len, 'Z');
    const io::ListVar vars[] = {io::var(std::span<char>(buf.data(), buf.size()))};
    EXPECT_STREQ(status_name(io::try_read_list(4, vars)), status_name(c.status));
    EXPECT_EQ(buf, c.want);
  }
}

TEST_F(ListRead, TextAndRealsInOneRead) {
  input("x 1.5 , 2\n");
  char c = 0;
  double a = 0, b = 0;
  EXPECT_EQ(io::try_read_list_of(4, c, a, b), io::ReadStatus::Ok);
  EXPECT_EQ(c, 'x');
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, 2.0);
}

TEST_F(ListRead, WithoutBranchesErrorsEndTheProgram) {
  const std::string path = dir.file("in.txt");
  input("abc\n");
  double x = 0;
  try {
    io::read_list_of(4, x);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_EQ(s.exit_status(), 1);
    EXPECT_EQ(s.text.rfind("run-time error F", 0), 0u) << s.text;
    EXPECT_NE(s.text.find(": READ(" + path + ")\n- "), std::string::npos) << s.text;
    EXPECT_EQ(s.text.back(), '\n');
  }
  // The unit stays open: end of file is next.
  try {
    io::read_list_of(4, x);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_NE(s.text.find(": READ(" + path + ")\n- "), std::string::npos) << s.text;
    EXPECT_NE(s.text.find("end of file"), std::string::npos) << s.text;
  }
}

TEST_F(ListRead, ConsoleInputAndItsEnd) {
  const std::string path = dir.file("keys.txt");
  spit(path, "12\n\n  3.5 junk\n");
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  io::bind_console(fd, -1);
  double a = 0, b = 0;
  io::read_list_of(io::console, a);
  io::read_list_of(io::console, b);
  EXPECT_EQ(a, 12.0);
  EXPECT_EQ(b, 3.5);
  EXPECT_EQ(io::try_read_list_of(io::console, a), io::ReadStatus::EndOfFile);
  try {
    io::read_list_of(io::console, a);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_NE(s.text.find(": READ(console)\n- "), std::string::npos) << s.text;
  }
  io::reset_units();
  ::close(fd);
}

}  // namespace

namespace {

// Which report a bad value calls for: a word is "not a number" (F2002), a
// number beyond a double is "number out of range" (F2003), in list-directed
// and in formatted reads alike.
TEST_F(ListRead, BadAndOutOfRangeNumbersHaveTheirOwnReports) {
  struct Case {
    const char* record;
    bool formatted;
    const char* report;
  };
  const Case cases[] = {
      {"ten", false, "run-time error F2002: READ("},
      {"1e400", false, "run-time error F2003: READ("},
      {"1e400", true, "run-time error F2003: READ("},
      {"1.5x", true, "run-time error F2002: READ("},
  };
  const io::Format f9("(F9.5)");
  for (const Case& c : cases) {
    const std::string path = dir.file("values.txt");
    spit(path, std::string(c.record) + "\n");
    io::open(4, path, io::OpenMode::Old);
    double v = 0;
    try {
      if (c.formatted) {
        const io::FmtVar vars[] = {io::fvar(v)};
        io::read_fmt(4, f9, vars);
      } else {
        io::read_list_of(4, v);
      }
      ADD_FAILURE() << c.record << ": no stop";
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.text.rfind(c.report, 0), 0u) << c.record << ": " << s.text;
    }
    io::close(4);
  }
}

}  // namespace
