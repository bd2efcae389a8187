// Units: file records end with CR LF, reading drops the CR, opening modes,
// closing, and how the console shows records.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"
#include "io_test_util.h"

namespace {

using iotest::crlf_records;
using iotest::slurp;
using iotest::spit;

class IoUnits : public iotest::UnitsTest {
 protected:
  std::vector<std::string> read_all(int unit) {
    std::vector<std::string> recs;
    std::string_view r;
    while (io::read_record(unit, r)) recs.emplace_back(r);
    return recs;
  }
  // The error report a statement raises, or "" when it returns.
  template <class Fn>
  static std::string report_of(Fn fn) {
    try {
      fn();
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.kind, io::Stop::Kind::Error);
      EXPECT_EQ(s.exit_status(), 1);
      return s.text;
    }
    return "";
  }
};

TEST_F(IoUnits, FileRecordsEndWithCrLf) {
  const std::string path = dir.file("out.txt");
  io::open(3, path, io::OpenMode::Replace);
  io::write_record(3, " abc");
  io::write_record(3, "");
  io::write_record(3, " x  ");
  io::close(3);
  EXPECT_EQ(slurp(path), " abc\r\n\r\n x  \r\n");
}

TEST_F(IoUnits, ReadingDropsTheCrBeforeLf) {
  const std::string path = dir.file("in.txt");
  spit(path, "a\r\nb\nc\r\n\r\n\nmid\rdle\r\nlast");
  io::open(4, path, io::OpenMode::Old);
  EXPECT_EQ(io::record_number(4), 0);
  EXPECT_EQ(read_all(4), (std::vector<std::string>{"a", "b", "c", "", "", "mid\rdle", "last"}));
  EXPECT_EQ(io::record_number(4), 7);
  std::string_view r;
  EXPECT_FALSE(io::read_record(4, r));  // and stays at the end
}

TEST_F(IoUnits, EmptyFileAndLoneLineFeed) {
  spit(dir.file("empty.txt"), "");
  spit(dir.file("lf.txt"), "\n");
  io::open(4, dir.file("empty.txt"), io::OpenMode::Old);
  EXPECT_TRUE(read_all(4).empty());
  io::open(4, dir.file("lf.txt"), io::OpenMode::Old);  // reopening closes the first
  EXPECT_EQ(read_all(4), std::vector<std::string>{""});
}

TEST_F(IoUnits, LongRecordsAcrossReadChunks) {
  std::string big(100000, 'b'), huge(300000, 'h');
  for (std::size_t i = 0; i < huge.size(); i += 977) huge[i] = 'x';
  std::string bytes = big + "\r\nnext\r\n";
  for (int i = 0; i < 20000; ++i) bytes += std::to_string(i) + "\r\n";
  bytes += huge + "\r\nend";
  spit(dir.file("in.txt"), bytes);
  io::open(4, dir.file("in.txt"), io::OpenMode::Old);
  const auto recs = read_all(4);
  ASSERT_EQ(recs.size(), 20004u);
  EXPECT_EQ(recs[0], big);
  EXPECT_EQ(recs[1], "next");
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(recs[static_cast<size_t>(i) + 2], std::to_string(i));
  EXPECT_EQ(recs[20002], huge);
  EXPECT_EQ(recs[20003], "end");
}

TEST_F(IoUnits, ManyRecordsAndAHugeOneAllReachTheFile) {
  const std::string path = dir.file("out.txt");
  io::open(3, path, io::OpenMode::Replace);
  std::vector<std::string> want;
  for (int i = 0; i < 60000; ++i) {
    if (i == 30000) {  // larger than the unit's buffer
      want.push_back(" " + std::string(400000, 'H'));
      io::write_record(3, want.back());
    }
    want.push_back(" record " + std::to_string(i) + std::string(static_cast<size_t>(i % 70), '.'));
    io::write_record(3, want.back());
  }
  io::close(3);
  EXPECT_EQ(crlf_records(slurp(path)), want);
}

TEST_F(IoUnits, ReplaceEmptiesAnExistingFile) {
  const std::string path = dir.file("otvet.txt");
  spit(path, "old contents\r\n");
  io::open(3, path, io::OpenMode::Replace);
  EXPECT_EQ(slurp(path), "");  // created empty at once
  io::write_record(3, " new");
  io::close(3);
  EXPECT_EQ(slurp(path), " new\r\n");
}

TEST_F(IoUnits, OldNeedsAnExistingFile) {
  const std::string path = dir.file("input.txt");
  EXPECT_FALSE(io::try_open(4, path, io::OpenMode::Old));
  EXPECT_FALSE(io::is_open(4));
  EXPECT_FALSE(std::filesystem::exists(path));  // nothing created
  const std::string report = report_of([&] { io::open(4, path, io::OpenMode::Old); });
  EXPECT_EQ(report.rfind("run-time error F", 0), 0u) << report;
  EXPECT_NE(report.find(": OPEN(" + path + ")\n- "), std::string::npos) << report;
  EXPECT_EQ(report.back(), '\n');

  spit(path, "# x\r\n1 2\r\n");
  ASSERT_TRUE(io::try_open(4, path, io::OpenMode::Old));
  EXPECT_EQ(read_all(4), (std::vector<std::string>{"# x", "1 2"}));
  io::close(4);
  EXPECT_EQ(slurp(path), "# x\r\n1 2\r\n");  // reading leaves the file alone
}

TEST_F(IoUnits, UnspecifiedOpensOrCreates) {
  const std::string path = dir.file("SERIES85");
  ASSERT_TRUE(io::try_open(4, path, io::OpenMode::Unspecified));
  EXPECT_TRUE(std::filesystem::exists(path));  // an empty file is left behind
  std::string_view r;
  EXPECT_FALSE(io::read_record(4, r));
  io::close(4);
  EXPECT_EQ(slurp(path), "");

  spit(path, " 218\r\n  1  0\r\n");
  io::open(4, path, io::OpenMode::Unspecified);
  EXPECT_EQ(read_all(4), (std::vector<std::string>{" 218", "  1  0"}));
  io::close(4);
  EXPECT_EQ(slurp(path), " 218\r\n  1  0\r\n");
}

TEST_F(IoUnits, OpeningFailuresAreReported) {
  const std::string nowhere = dir.file("no/such/dir.txt");
  for (io::OpenMode m : {io::OpenMode::Replace, io::OpenMode::Old, io::OpenMode::Unspecified}) {
    EXPECT_FALSE(io::try_open(3, nowhere, m));
    EXPECT_FALSE(io::try_open(3, dir.path(), m));  // a directory is no file
    const std::string report = report_of([&] { io::open(3, nowhere, m); });
    EXPECT_NE(report.find(": OPEN(" + nowhere + ")\n- "), std::string::npos) << report;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

TEST_F(IoUnits, CloseKeepsTheFileAndClosedUnitsFail) {
  const std::string path = dir.file("scan.txt");
  io::open(3, path, io::OpenMode::Replace);
  EXPECT_TRUE(io::is_open(3));
  EXPECT_EQ(io::unit_name(3), path);
  io::write_record(3, " kept");
  io::close(3);
  EXPECT_FALSE(io::is_open(3));
  io::close(3);  // closing again does nothing
  EXPECT_EQ(slurp(path), " kept\r\n");
  EXPECT_NE(report_of([] { io::write_record(3, " lost"); }), "");
  std::string_view r;
  EXPECT_NE(report_of([&] { io::read_record(3, r); }), "");
  EXPECT_EQ(slurp(path), " kept\r\n");
}

TEST_F(IoUnits, ConsoleShowsRecordsWithoutTheirFirstCharacter) {
  const std::string shown = dir.file("console.txt");
  const int fd = ::open(shown.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  io::bind_console(-1, fd);
  io::write_record(io::console, " hello");
  io::write_list(io::console, "X= ", 1.0);
  io::write_list(io::console, 5, -5);
  io::write_list(io::console, "        1: RUN   ");
  io::write_list(io::console);
  io::flush_all();
  EXPECT_EQ(slurp(shown),
            "hello\nX=        1.000000000000000\n          5          -5\n        1: RUN   \n\n");
  io::reset_units();
  ::close(fd);
}

TEST_F(IoUnits, ConsoleOnATerminalShowsEachRecordAtOnce) {
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) GTEST_SKIP() << "no pseudo-terminal";
  io::bind_console(-1, slave);
  io::write_record(io::console, " hello");
  // Shown when written, not only at the next read or at the end.
  char buf[64];
  pollfd p{master, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 2000), 1);
  const ssize_t n = ::read(master, buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), "hello\r\n");
  io::reset_units();
  ::close(slave);
  ::close(master);
}

TEST_F(IoUnits, ConsoleReadShowsThePromptFirstAndSkipsCr) {
  const std::string keys = dir.file("keys.txt"), shown = dir.file("console.txt");
  spit(keys, "3.5\r\n");
  const int in = ::open(keys.c_str(), O_RDONLY);
  const int out = ::open(shown.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(in, 0);
  ASSERT_GE(out, 0);
  io::bind_console(in, out);
  io::write_list(io::console, "Enter step in days");
  double step = 0;
  io::read_list_of(io::console, step);
  EXPECT_EQ(step, 3.5);
  EXPECT_EQ(slurp(shown), "Enter step in days\n");
  io::reset_units();
  ::close(in);
  ::close(out);
}

}  // namespace
