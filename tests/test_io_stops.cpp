// Ways out of a program, as whole processes: stops with and without a
// message, run-time error reports, floating-point traps, the end of console
// input, failed writes and termination signals. Each runs io_probe in a
// scratch directory and checks exit status, standard output, standard error
// and the records left in out.txt.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "io_test_util.h"

#ifndef KAV_IO_PROBE
#error "KAV_IO_PROBE must name the io_probe program"
#endif

namespace {

using iotest::crlf_records;
using iotest::slurp;
using iotest::spit;

struct Outcome {
  bool exited = false;
  int status = -1;  // exit status, or the signal when !exited
  bool timed_out = false;
  std::string out, err;
};

enum class Stdin { File, ClosedPipe, OpenPipe };

void sleep_ms(int ms) {
  timespec ts{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&ts, nullptr);
}

class IoStops : public ::testing::Test {
 protected:
  iotest::TempDir dir;

  // Runs io_probe with args in dir, standard input from `input`; `signal_when`
  // (when set) is sent once standard output holds `ready`.
  Outcome run(const std::vector<std::string>& args, const std::string& input = "",
          Stdin how = Stdin::File, const char* stdout_path = nullptr, int signal_when = 0,
          const std::string& ready = "") {
    const std::string in_path = dir.file("stdin.txt"), out_path = dir.file("stdout.txt"),
                      err_path = dir.file("stderr.txt");
    spit(in_path, input);
    int pipe_fd[2] = {-1, -1};
    if (how != Stdin::File && ::pipe(pipe_fd) != 0) throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (::chdir(dir.path().c_str()) != 0) _exit(126);
      const int in = how == Stdin::File ? ::open(in_path.c_str(), O_RDONLY) : pipe_fd[0];
      const int out = ::open(stdout_path ? stdout_path : out_path.c_str(),
                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || out < 0 || err < 0) _exit(126);
      ::dup2(in, 0);
      ::dup2(out, 1);
      ::dup2(err, 2);
      if (pipe_fd[1] >= 0) ::close(pipe_fd[1]);
      std::vector<char*> argv{const_cast<char*>(KAV_IO_PROBE)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(KAV_IO_PROBE, argv.data());
      _exit(127);
    }
    if (pipe_fd[0] >= 0) ::close(pipe_fd[0]);
    if (how == Stdin::ClosedPipe) ::close(pipe_fd[1]);
    Outcome r;
    int st = 0;
    bool signalled = signal_when == 0;
    for (int waited = 0;; waited += 10) {
      const pid_t w = ::waitpid(pid, &st, WNOHANG);
      if (w == pid) break;
      if (!signalled && slurp(out_path).find(ready) != std::string::npos) {
        ::kill(pid, signal_when);
        signalled = true;
      }
      if (waited > 20000) {  // a hang is a failure, not a stuck test
        r.timed_out = true;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &st, 0);
        break;
      }
      sleep_ms(10);
    }
    if (how == Stdin::OpenPipe) ::close(pipe_fd[1]);
    r.exited = WIFEXITED(st);
    r.status = r.exited ? WEXITSTATUS(st) : WTERMSIG(st);
    r.out = slurp(out_path);
    r.err = slurp(err_path);
    return r;
  }

  std::vector<std::string> out_txt() { return crlf_records(slurp(dir.file("out.txt"))); }

  static std::vector<std::string> records(int n) {
    std::vector<std::string> v;
    for (int i = 1; i <= n; ++i) {
      std::string num = std::to_string(i);
      v.push_back(" record " + std::string(7 - num.size(), ' ') + num);
    }
    return v;
  }
};

// "\nrun-time error F1234: READ(name)\n- description\n"
std::regex io_report(const std::string& statement_and_unit) {
  return std::regex("\nrun-time error F[0-9]{4}: " + statement_and_unit + "\n- [^\n]+\n");
}
std::regex math_report(const std::string& kind) {
  return std::regex("\nrun-time error M[0-9]{4}: MATH\n- floating-point error: " + kind + "\n");
}

TEST_F(IoStops, StopWithMessage) {
  const Outcome r = run({"message"});
  ASSERT_FALSE(r.timed_out);
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "shown\nTERMINATED BY USER\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(out_txt(), records(3));
}

TEST_F(IoStops, StopMessageKeepsLeadingBlanks) {
  const Outcome r = run({"message-blank"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, " Error in Kepler equation\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(IoStops, PlainStopAndNormalReturn) {
  for (const char* mode : {"plain", "return"}) {
    SCOPED_TRACE(mode);
    const Outcome r = run({mode});
    ASSERT_FALSE(r.timed_out);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(mode) == "plain" ? "shown\nStop - Program terminated.\n"
                                                  : "Stop - Program terminated.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(out_txt(), records(3));
  }
}

TEST_F(IoStops, FailedOpenWithoutBranchIsARunTimeError) {
  const Outcome r = run({"open-old"});
  ASSERT_FALSE(r.timed_out);
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(std::regex_match(r.err, io_report("OPEN\\(missing\\.txt\\)"))) << r.err;
  EXPECT_EQ(out_txt(), records(3));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing.txt")));
}

TEST_F(IoStops, ConsoleReads) {
  struct Case {
    const char* mode;
    const char* input;
    Stdin how;
    int status;
    std::string out;  // the console after the prompt
  };
  const Case cases[] = {
      {"read-list", "2.5\n", Stdin::File, 0, "got       2.500000000000000\nStop - Program terminated.\n"},
      {"read-list", "\n\n  7 junk\n", Stdin::File, 0,
       "got       7.000000000000000\nStop - Program terminated.\n"},
      {"read-list", "1e-310\n", Stdin::File, 0,  // underflow to a subnormal passes
       "got  9.999999999999969E-311\nStop - Program terminated.\n"},
      // End of console input, and input errors: the report, status 1, no hang.
      {"read-list", "", Stdin::File, 1, ""},
      {"read-list", "\n   \n", Stdin::File, 1, ""},
      {"read-list", "", Stdin::ClosedPipe, 1, ""},
      {"read-list", "abc\n", Stdin::File, 1, ""},
      {"read-list", "1.8e308\n", Stdin::File, 1, ""},  // an input error, not a math fault
      {"read-a", "\n", Stdin::File, 0, "answer  \nStop - Program terminated.\n"},
      {"read-a", "12\n", Stdin::File, 0, "answer 1\nStop - Program terminated.\n"},
      {"read-a", "", Stdin::File, 1, ""},
      {"read-a", "", Stdin::ClosedPipe, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " with input '" + c.input + "'");
    const Outcome r = run({c.mode}, c.input, c.how);
    ASSERT_FALSE(r.timed_out);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, c.status);
    const std::string prompt = std::string(c.mode) == "read-list"
                                   ? "Enter step in days\n"
                                   : " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>\n";
    EXPECT_EQ(r.out, prompt + c.out);
    if (c.status == 0)
      EXPECT_EQ(r.err, "");
    else
      EXPECT_TRUE(std::regex_match(r.err, io_report("READ\\(console\\)"))) << r.err;
  }
}

TEST_F(IoStops, FloatingPointFaultsEndTheProgramKeepingEveryRecord) {
  struct Case {
    const char* mode;
    const char* kind;
  };
  for (const Case& c : {Case{"divide", "divide by zero"}, Case{"invalid", "invalid"},
                        Case{"overflow", "overflow"}}) {
    SCOPED_TRACE(c.mode);
    // More records than any buffer holds, and a few.
    for (int n : {5, 120000}) {
      const Outcome r = run({c.mode, std::to_string(n)});
      ASSERT_FALSE(r.timed_out);
      EXPECT_TRUE(r.exited);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.out, "shown\n");
      EXPECT_TRUE(std::regex_match(r.err, math_report(c.kind))) << r.err;
      EXPECT_EQ(out_txt(), records(n));
    }
  }
}

TEST_F(IoStops, UnderflowAndInexactPass) {
  const Outcome r = run({"underflow"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Stop - Program terminated.\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(out_txt(), records(3));
}

TEST_F(IoStops, FailedWritesAreReportedNotHidden) {
  {
    const Outcome r = run({"full"});
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("WRITE(/dev/full)"), std::string::npos) << r.err;
  }
  {
    const Outcome r = run({"plain"}, "", Stdin::File, "/dev/full");
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("WRITE(console)"), std::string::npos) << r.err;
    EXPECT_EQ(out_txt(), records(3));
  }
}

TEST_F(IoStops, TerminationSignalKeepsTheRecords) {
  const Outcome r = run({"wait", "50000"}, "", Stdin::OpenPipe, nullptr, SIGTERM, "ready\n");
  ASSERT_FALSE(r.timed_out);
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(r.status, SIGTERM);
  EXPECT_EQ(out_txt(), records(50000));
}

}  // namespace
