// Shared by the fuzz targets: a private working folder, files written from
// the fuzz input, and a console that reads a file and writes to /dev/null.
//
// Outcome rules of every target: an io::Stop is the expected end of bad input
// and is caught; anything else (crash, sanitizer report, another exception,
// a hang, unbounded memory) is a finding. check() turns a broken property
// into a crash so that libFuzzer records the input.
#pragma once

#include <fcntl.h>
#include <fenv.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "io/units.h"

namespace fuzzsupport {

inline std::string& work_dir() {
  static std::string dir;
  return dir;
}

inline void remove_work_dir() {
  const std::string& dir = work_dir();
  if (dir.empty()) return;
  for (const char* name : {"SERIES85", "input.txt", "otvet.txt", "scan.txt", "console.in", "data.txt"})
    ::unlink((dir + "/" + name).c_str());
  ::rmdir(dir.c_str());
}

// Once per process: a fresh folder under /tmp becomes the working directory
// (the readers open their files by name there).
inline void enter_work_dir() {
  if (!work_dir().empty()) return;
  char tmpl[] = "/tmp/kav-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) {
    std::perror("mkdtemp");
    std::abort();
  }
  work_dir() = tmpl;
  if (::chdir(tmpl) != 0) {
    std::perror("chdir");
    std::abort();
  }
  std::atexit(remove_work_dir);
}

// Replaces the file `name` of the working folder with the bytes given.
inline void write_file(const char* name, const std::uint8_t* data, std::size_t size) {
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t w = ::write(fd, data + done, size - done);
    if (w <= 0) std::abort();
    done += static_cast<std::size_t>(w);
  }
  ::close(fd);
}

inline int dev_null_out() {
  static const int fd = ::open("/dev/null", O_WRONLY);
  return fd;
}

// Closes every unit left open by the previous run and points the console at
// /dev/null both ways (reads meet the end of input at once).
inline void reset_io() {
  static const int null_in = ::open("/dev/null", O_RDONLY);
  io::reset_units();
  io::bind_console(null_in, dev_null_out());
}

// The console reads the given bytes (through the file console.in).
inline int console_reads(const std::uint8_t* data, std::size_t size) {
  write_file("console.in", data, size);
  const int fd = ::open("console.in", O_RDONLY);
  if (fd < 0) std::abort();
  io::bind_console(fd, dev_null_out());
  return fd;  // the caller closes it after io::reset_units()
}

// The programs run with these floating-point traps on from their start
// (io::run_program); the code under test runs under them here too, so that a
// division by zero, invalid operation or overflow is a finding (SIGFPE)
// instead of a silent infinity or NaN.
struct FpTraps {
  FpTraps() {
    feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
  }
  ~FpTraps() {
    fedisableexcept(FE_ALL_EXCEPT);
    feclearexcept(FE_ALL_EXCEPT);
  }
  FpTraps(const FpTraps&) = delete;
  FpTraps& operator=(const FpTraps&) = delete;
};

[[noreturn]] inline void finding(const char* what) {
  std::fprintf(stderr, "fuzz finding: %s\n", what);
  std::abort();
}
inline void check(bool ok, const char* what) {
  if (!ok) finding(what);
}

}  // namespace fuzzsupport
