// Test helper: a tiny program on io::run_program that ends in the way its
// first argument names, after writing records to "out.txt" (unit 3) and one
// line to the console. The process tests check its exit status, its output
// and the file it leaves behind.
//
//   io_probe MODE [N]    N: records written to out.txt first (default 3)
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/format.h"
#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

std::string_view g_mode;
int g_records = 3;

void write_records() {
  io::open(3, "out.txt", io::OpenMode::Replace);
  const io::Format f("(X,'record ',I7)");
  for (int i = 1; i <= g_records; ++i) io::write_fmt(3, f, static_cast<std::int32_t>(i));
}

void body() {
  const std::string_view m = g_mode;
  if (m == "message") {
    write_records();
    io::write_list(io::console, "shown");
    io::stop("TERMINATED BY USER");
  }
  if (m == "message-blank") io::stop(" Error in Kepler equation");
  if (m == "plain") {
    write_records();
    io::write_list(io::console, "shown");
    io::stop();
  }
  if (m == "return") {
    write_records();
    return;
  }
  if (m == "open-old") {  // no error branch
    write_records();
    io::open(4, "missing.txt", io::OpenMode::Old);
    io::stop("not reached");
  }
  if (m == "read-list") {  // one real from the console, no branches
    write_records();
    io::write_list(io::console, "Enter step in days");
    double x = -1;
    io::read_list_of(io::console, x);
    io::write_list(io::console, "got", x);
    io::stop();
  }
  if (m == "read-a") {  // the menu answer, no branches
    io::write_list(io::console, " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>");
    char c = 0;
    const io::FmtVar v[] = {io::fvar(c)};
    io::read_fmt(io::console, io::Format("(A)"), v);
    io::write_list(io::console, "answer ", std::string_view(&c, 1));
    io::stop();
  }
  if (m == "wait") {  // blocks on the console until a signal arrives
    write_records();
    io::write_list(io::console, "ready");
    double x;
    io::read_list_of(io::console, x);
    io::stop("not reached");
  }
  if (m == "full") {  // unit 3 on a device that refuses every write
    io::open(3, "/dev/full", io::OpenMode::Unspecified);
    io::write_record(3, " lost");
    io::stop();
  }
  // Floating-point faults, on operands the compiler cannot see.
  volatile double zero = 0.0, one = 1.0, big = 1e308, tiny = 1e-308;
  volatile double r = 0;
  if (m == "divide") {
    write_records();
    io::write_list(io::console, "shown");
    r = one / zero;
  } else if (m == "invalid") {
    write_records();
    io::write_list(io::console, "shown");
    r = zero / zero;
  } else if (m == "overflow") {
    write_records();
    io::write_list(io::console, "shown");
    r = big * 10.0;
  } else if (m == "underflow") {  // underflow and inexact results pass
    r = tiny * 1e-100;
    r = one / 3.0;
    write_records();
    io::stop();
  } else {
    io::stop("unknown mode");
  }
  (void)r;
  io::write_record(3, " after the fault");
  io::stop("not reached");
}

}  // namespace

int main(int argc, char** argv) {
  g_mode = argc > 1 ? argv[1] : "";
  if (argc > 2) g_records = std::atoi(argv[2]);
  return io::run_program(body);
}
