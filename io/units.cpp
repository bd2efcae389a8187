#include "io/units.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "io/stop.h"
#include "io/unit_internal.h"

namespace io {
namespace {

constexpr std::size_t kFileBuffer = 1 << 18;    // records of a file unit
constexpr std::size_t kConsoleBuffer = 1 << 16;  // console output when not a terminal
constexpr std::size_t kReadChunk = 1 << 16;

struct Unit {
  bool open = false;
  std::string name;
  int fd = -1;
  bool console = false;
  // Output side: complete records only, up to `len`; the signal handlers read it.
  char* out = nullptr;
  std::size_t cap = 0;
  volatile std::size_t len = 0;
  int out_fd = -1;
  bool tty = false;
  long last_flush_ms = 0;
  // Input side.
  char* in = nullptr;
  std::size_t in_pos = 0, in_end = 0;
  bool in_eof = false;
  std::string line;
  long recno = 0;
};

Unit units[max_unit + 1];

long now_ms() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
  return ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

void init_console() {
  Unit& c = units[console];
  if (c.open) return;
  c.open = true;
  c.console = true;
  c.name = "console";
  c.fd = 0;
  c.out_fd = 1;
  c.tty = isatty(1) == 1;
  c.cap = kConsoleBuffer;
  c.out = new char[c.cap];
  c.in = new char[kReadChunk];
  c.last_flush_ms = now_ms();
}

Unit& unit_for(int u, Statement st) {
  if (u < 0 || u > max_unit) fail(Fault::UnitNotOpen, st, "unit " + std::to_string(u));
  if (u == console) init_console();
  Unit& x = units[u];
  if (!x.open) fail(Fault::UnitNotOpen, st, "unit " + std::to_string(u));
  return x;
}

// Writes everything buffered; returns 0 or an errno value.
int write_out(Unit& x) {
  std::size_t done = 0;
  const std::size_t n = x.len;
  while (done < n) {
    const ssize_t w = ::write(x.out_fd, x.out + done, n - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(w);
  }
  x.len = 0;
  return 0;
}

// Flush with the termination signals held off, so that their handler never
// writes the same records a second time.
int flush_unit(Unit& x) {
  if (x.len == 0) return 0;
  sigset_t block, old;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigaddset(&block, SIGTERM);
  sigaddset(&block, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &block, &old);
  const int err = write_out(x);
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  if (x.console) x.last_flush_ms = now_ms();
  return err;
}

void flush_or_fail(Unit& x) {
  if (const int err = flush_unit(x)) {
    x.len = 0;
    fail(Fault::WriteFailed, Statement::Write, x.name, std::strerror(err));
  }
}

void append(Unit& x, const char* p, std::size_t n) {
  if (x.len + n > x.cap) flush_or_fail(x);
  if (n > x.cap) {  // a huge record: straight through
    std::size_t done = 0;
    while (done < n) {
      const ssize_t w = ::write(x.out_fd, p + done, n - done);
      if (w < 0) {
        if (errno == EINTR) continue;
        fail(Fault::WriteFailed, Statement::Write, x.name, std::strerror(errno));
      }
      done += static_cast<std::size_t>(w);
    }
    return;
  }
  std::memcpy(x.out + x.len, p, n);
  std::atomic_signal_fence(std::memory_order_release);
  x.len = x.len + n;
}

void release(Unit& x) {
  delete[] x.out;
  delete[] x.in;
  x = Unit{};
}

}  // namespace

bool try_open(int u, std::string_view name, OpenMode mode) {
  if (u < 1 || u > max_unit) return false;
  close(u);
  const std::string path(name);
  int fd = -1;
  switch (mode) {
    case OpenMode::Replace:
      if (::unlink(path.c_str()) != 0 && errno != ENOENT) return false;
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      break;
    case OpenMode::Old:
      fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      break;
    case OpenMode::Unspecified:
      fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      break;
  }
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return false;
  }
  Unit& x = units[u];
  x.open = true;
  x.name = path;
  x.fd = fd;
  x.out_fd = fd;
  x.cap = kFileBuffer;
  x.out = new char[x.cap];
  x.in = new char[kReadChunk];
  return true;
}

void open(int u, std::string_view name, OpenMode mode) {
  if (try_open(u, name, mode)) return;
  const int err = errno;
  if (mode == OpenMode::Old && err == ENOENT) fail(Fault::FileNotFound, Statement::Open, name);
  fail(Fault::CannotOpen, Statement::Open, name, std::strerror(err));
}

void close(int u) {
  if (u < 1 || u > max_unit || !units[u].open) return;
  Unit& x = units[u];
  const int err = flush_unit(x);
  const std::string name = x.name;
  const int cerr = ::close(x.fd) == 0 ? 0 : errno;
  release(x);
  if (err) fail(Fault::WriteFailed, Statement::Write, name, std::strerror(err));
  if (cerr) fail(Fault::CloseFailed, Statement::Close, name, std::strerror(cerr));
}

bool is_open(int u) {
  if (u == console) return true;
  return u >= 1 && u <= max_unit && units[u].open;
}

std::string_view unit_name(int u) {
  if (u == console) return "console";
  if (u < 1 || u > max_unit || !units[u].open) return "";
  return units[u].name;
}

void write_record(int u, std::string_view rec) {
  Unit& x = unit_for(u, Statement::Write);
  if (x.console) {
    // The first character is carriage control: not shown.
    if (!rec.empty()) rec.remove_prefix(1);
    if (x.len + rec.size() + 1 > x.cap) flush_or_fail(x);
    if (rec.size() + 1 > x.cap) {
      append(x, rec.data(), rec.size());
      append(x, "\n", 1);
    } else {
      std::memcpy(x.out + x.len, rec.data(), rec.size());
      x.out[x.len + rec.size()] = '\n';
      std::atomic_signal_fence(std::memory_order_release);
      x.len = x.len + rec.size() + 1;
    }
    // A person watching a terminal sees every record at once. Into a file or
    // a pipe, records go in blocks (a search can write millions of them),
    // flushed before every console read, at least 0.2 s after the last
    // block when records keep coming, and at every way out.
    if (x.tty || now_ms() - x.last_flush_ms >= 200) flush_or_fail(x);
    return;
  }
  if (x.len + rec.size() + 2 <= x.cap) {
    std::memcpy(x.out + x.len, rec.data(), rec.size());
    x.out[x.len + rec.size()] = '\r';
    x.out[x.len + rec.size() + 1] = '\n';
    std::atomic_signal_fence(std::memory_order_release);
    x.len = x.len + rec.size() + 2;
    return;
  }
  flush_or_fail(x);
  append(x, rec.data(), rec.size());
  append(x, "\r\n", 2);
}

bool read_record(int u, std::string_view& rec) {
  Unit& x = unit_for(u, Statement::Read);
  if (x.console) flush_or_fail(x);
  x.line.clear();
  bool got_any = false;
  for (;;) {
    if (x.in_pos == x.in_end) {
      if (x.in_eof) break;
      ssize_t n;
      do {
        n = ::read(x.fd, x.in, kReadChunk);
      } while (n < 0 && errno == EINTR);
      if (n < 0) fail(Fault::EndOfFile, Statement::Read, x.name, std::strerror(errno));
      if (n == 0) {
        x.in_eof = true;
        break;
      }
      x.in_pos = 0;
      x.in_end = static_cast<std::size_t>(n);
    }
    got_any = true;
    const char* start = x.in + x.in_pos;
    const void* nl = std::memchr(start, '\n', x.in_end - x.in_pos);
    if (nl) {
      const std::size_t k = static_cast<const char*>(nl) - start;
      x.line.append(start, k);
      x.in_pos += k + 1;
      if (!x.line.empty() && x.line.back() == '\r') x.line.pop_back();
      ++x.recno;
      rec = x.line;
      return true;
    }
    x.line.append(start, x.in_end - x.in_pos);
    x.in_pos = x.in_end;
  }
  if (!got_any) return false;
  // A last record without a line feed.
  if (!x.line.empty() && x.line.back() == '\r') x.line.pop_back();
  ++x.recno;
  rec = x.line;
  return true;
}

long record_number(int u) {
  if (u == console) return units[console].recno;
  return (u >= 1 && u <= max_unit) ? units[u].recno : 0;
}

void flush_all() {
  if (units[console].open) flush_or_fail(units[console]);
  for (int u = 1; u <= max_unit; ++u)
    if (units[u].open) flush_or_fail(units[u]);
}

void bind_console(int in_fd, int out_fd) {
  init_console();
  Unit& c = units[console];
  flush_unit(c);
  if (in_fd >= 0) {
    c.fd = in_fd;
    c.in_pos = c.in_end = 0;
    c.in_eof = false;
    c.recno = 0;
  }
  if (out_fd >= 0) {
    c.out_fd = out_fd;
    c.tty = isatty(out_fd) == 1;
  }
}

void reset_units() {
  for (int u = 1; u <= max_unit; ++u) {
    if (!units[u].open) continue;
    flush_unit(units[u]);
    ::close(units[u].fd);
    release(units[u]);
  }
  if (units[console].open) {
    flush_unit(units[console]);
    release(units[console]);
  }
  init_console();
}

namespace internal {

void flush_all_signal_safe() {
  for (int u = 0; u <= max_unit; ++u) {
    Unit& x = units[u];
    if (!x.open || x.len == 0) continue;
    std::size_t done = 0;
    const std::size_t n = x.len;
    while (done < n) {
      const ssize_t w = ::write(x.out_fd, x.out + done, n - done);
      if (w <= 0) {
        if (w < 0 && errno == EINTR) continue;
        break;
      }
      done += static_cast<std::size_t>(w);
    }
    x.len = 0;
  }
}

std::string close_all_at_exit() {
  std::string report;
  if (units[console].open)
    if (const int err = flush_unit(units[console]); err && report.empty())
      report = fault_report(Fault::WriteFailed, Statement::Write, "console", std::strerror(err));
  for (int u = 1; u <= max_unit; ++u) {
    Unit& x = units[u];
    if (!x.open) continue;
    const int err = flush_unit(x);
    if (err && report.empty())
      report = fault_report(Fault::WriteFailed, Statement::Write, x.name, std::strerror(err));
    ::close(x.fd);
    release(x);
  }
  return report;
}

}  // namespace internal
}  // namespace io
