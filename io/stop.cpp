#include "io/stop.h"

#include <fenv.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>

#include "io/unit_internal.h"
#include "io/units.h"

namespace io {

void stop(std::string_view message) { throw Stop{Stop::Kind::Message, std::string(message)}; }

void stop() { throw Stop{Stop::Kind::Plain, {}}; }

namespace {

const char* statement_name(Statement s) {
  switch (s) {
    case Statement::Open: return "OPEN";
    case Statement::Read: return "READ";
    case Statement::Write: return "WRITE";
    case Statement::Close: return "CLOSE";
  }
  return "?";
}

const char* fault_text(Fault f) {
  switch (f) {
    case Fault::FileNotFound: return "file not found";
    case Fault::CannotOpen: return "cannot open or create the file";
    case Fault::UnitNotOpen: return "unit is not open";
    case Fault::EndOfFile: return "end of file";
    case Fault::BadNumber: return "not a number";
    case Fault::NumberRange: return "number out of range";
    case Fault::BadText: return "bad text value";
    case Fault::Capacity: return "more records than the program has room for";
    case Fault::WriteFailed: return "write failed";
    case Fault::CloseFailed: return "close failed";
    case Fault::FormatMismatch: return "more values than the format has descriptors";
  }
  return "input/output error";
}

void write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w <= 0) return;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
}

void write_str(int fd, const char* s) { write_all(fd, s, std::strlen(s)); }

// Floating-point trap: every record out, the "M" report, status 1.
void on_fpe(int, siginfo_t* info, void*) {
  internal::flush_all_signal_safe();
  const char* report = "\nrun-time error M6005: MATH\n- floating-point error: arithmetic fault\n";
  switch (info->si_code) {
    case FPE_FLTDIV:
      report = "\nrun-time error M6001: MATH\n- floating-point error: divide by zero\n";
      break;
    case FPE_FLTINV:
      report = "\nrun-time error M6002: MATH\n- floating-point error: invalid\n";
      break;
    case FPE_FLTOVF:
      report = "\nrun-time error M6003: MATH\n- floating-point error: overflow\n";
      break;
    case FPE_INTDIV:
      report = "\nrun-time error M6004: MATH\n- floating-point error: integer divide by zero\n";
      break;
    default:
      break;
  }
  write_str(2, report);
  _exit(1);
}

// Interrupted from outside, or crashed: keep what was written, then end as
// the signal says.
void on_terminate(int sig) {
  internal::flush_all_signal_safe();
  signal(sig, SIG_DFL);
  raise(sig);
}

void install_handlers() {
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_sigaction = on_fpe;
  sa.sa_flags = SA_SIGINFO;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGFPE, &sa, nullptr);
  // Interrupted from outside, or a crash: the records written so far are kept.
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGSEGV, SIGBUS, SIGABRT, SIGILL}) {
    struct sigaction st;
    std::memset(&st, 0, sizeof st);
    st.sa_handler = on_terminate;
    st.sa_flags = SA_RESETHAND;
    sigemptyset(&st.sa_mask);
    sigaction(sig, &st, nullptr);
  }
  signal(SIGPIPE, SIG_IGN);  // a closed pipe is a write error, reported
  signal(SIGXFSZ, SIG_IGN);  // so is a file-size limit (EFBIG), not a silent kill
  feclearexcept(FE_ALL_EXCEPT);
  feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
}

// Show how the program ended; returns the exit status.
int finish(const Stop& s) {
  fedisableexcept(FE_ALL_EXCEPT);
  const std::string write_error = internal::close_all_at_exit();
  if (!write_error.empty() && s.kind != Stop::Kind::Error) {
    write_str(2, "\n");
    write_all(2, write_error.data(), write_error.size());
    return 1;
  }
  switch (s.kind) {
    case Stop::Kind::Message:
      write_all(1, s.text.data(), s.text.size());
      write_str(1, "\n");
      return 0;
    case Stop::Kind::Plain:
      write_str(1, "Stop - Program terminated.\n");
      return 0;
    case Stop::Kind::Error:
      write_str(2, "\n");
      write_all(2, s.text.data(), s.text.size());
      return 1;
  }
  return 1;
}

// The detail may quote what was read: a byte outside printable ASCII shows
// as \xHH and a long detail is cut after kMaxDetail characters, so that a
// line of binary data or of a megabyte still gives a short, plain report.
void append_detail(std::string& r, std::string_view detail) {
  constexpr std::size_t kMaxDetail = 160;
  std::size_t shown = 0;
  for (const char ch : detail) {
    if (shown >= kMaxDetail) {
      r += "...";
      return;
    }
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7f) {
      r += ch;
      ++shown;
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      r += "\\x";
      r += kHex[c >> 4];
      r += kHex[c & 15];
      shown += 4;
    }
  }
}

}  // namespace

std::string fault_report(Fault fault, Statement statement, std::string_view file_name,
                         std::string_view detail) {
  char num[8];
  std::snprintf(num, sizeof num, "%04d", static_cast<int>(fault));
  std::string r = "run-time error F";
  r += num;
  r += ": ";
  r += statement_name(statement);
  r += '(';
  r += file_name;
  r += ")\n- ";
  r += fault_text(fault);
  if (!detail.empty()) {
    r += ": ";
    append_detail(r, detail);
  }
  r += '\n';
  return r;
}

void fail(Fault fault, Statement statement, std::string_view file_name, std::string_view detail) {
  throw Stop{Stop::Kind::Error, fault_report(fault, statement, file_name, detail)};
}

int run_program(void (*body)()) {
  install_handlers();
  try {
    body();
  } catch (const Stop& s) {
    return finish(s);
  } catch (const std::exception& e) {
    return finish(Stop{Stop::Kind::Error, std::string("run-time error F9999: internal\n- ") +
                                               e.what() + "\n"});
  }
  return finish(Stop{Stop::Kind::Plain, {}});
}

}  // namespace io
