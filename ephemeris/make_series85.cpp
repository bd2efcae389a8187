// make_series85: builds the lunar series file SERIES85 from the 36 files of
// ELP 2000-82B (ELP1 .. ELP36) and reports what it read, merged, wrote and
// what the lunar loader keeps of it at each precision level.
//
//   make_series85 ELP_FOLDER OUTPUT_FILE
//
// The file is written under a temporary name in the output's folder and
// renamed over OUTPUT_FILE at the end: on any failure (or SIGINT, SIGTERM,
// SIGHUP) the temporary file is removed and an existing OUTPUT_FILE is left
// as it was. Failures end with the run-time error report, status 1; wrong
// arguments with the usage on standard error, status 2.
#include <signal.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ephemeris/series_builder.h"
#include "io/format.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

namespace sb = ephemeris::series;

constexpr int kInUnit = 4;
constexpr int kOutUnit = 3;

const char kUsage[] =
    "usage: make_series85 ELP_FOLDER OUTPUT_FILE\n"
    "  Builds the lunar series file SERIES85 (OUTPUT_FILE) from the ELP 2000-82B\n"
    "  files ELP1 .. ELP36 in ELP_FOLDER.\n";

std::string elp_folder, output_path;

// The temporary file, for the signal handler (empty when there is none).
char temp_path[4096];

void on_signal(int sig) {
  if (temp_path[0] != '\0') ::unlink(temp_path);
  signal(sig, SIG_DFL);
  raise(sig);
}

// Creates the temporary file beside the output; its name goes to temp_path.
void create_temp() {
  std::filesystem::path out(output_path);
  std::string dir = out.parent_path().string();
  if (dir.empty()) dir = ".";
  const std::string name = dir + "/." + out.filename().string() + ".XXXXXX";
  if (name.size() >= sizeof temp_path)
    io::fail(io::Fault::CannotOpen, io::Statement::Open, output_path, "path too long");
  std::memcpy(temp_path, name.c_str(), name.size() + 1);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) signal(sig, on_signal);
  const int fd = ::mkstemp(temp_path);
  if (fd < 0) {
    const int err = errno;
    temp_path[0] = '\0';
    io::fail(io::Fault::CannotOpen, io::Statement::Open, output_path,
             std::string("temporary file in ") + dir + ": " + std::strerror(err));
  }
  // mkstemp makes the file private (0600); SERIES85 is a data file like any
  // other, so it gets the usual permissions under the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
}

// After a failure: units closed without further reports, temporary file gone.
void discard_temp() {
  for (int unit : {kOutUnit, kInUnit}) {
    try {
      io::close(unit);
    } catch (const io::Stop&) {
    }
  }
  if (temp_path[0] != '\0') ::unlink(temp_path);
  temp_path[0] = '\0';
}

void report(const sb::ElpTerms& terms, std::int32_t merged, const sb::BlockCounts& counts) {
  struct Kind {
    const char* fmt;
    int first, last;
  };
  static const Kind kinds[] = {
      {"('   main problem (ELP1-3)        ',I7)", 1, 3},
      {"('   Earth figure (ELP4-9)        ',I7)", 4, 9},
      {"('   planetary (ELP10-21)         ',I7)", 10, 21},
      {"('   tides (ELP22-27)             ',I7)", 22, 27},
      {"('   Moon figure (ELP28-30)       ',I7)", 28, 30},
      {"('   relativity (ELP31-33)        ',I7)", 31, 33},
      {"('   solar eccentricity (ELP34-36)',I7)", 34, 36},
  };
  std::int32_t total = 0;
  for (int n = 1; n <= sb::kElpFiles; ++n) total += terms.read_per_file[static_cast<std::size_t>(n)];
  io::write_fmt(io::console, io::Format("(' terms read                     ',I7)"), total);
  for (const Kind& k : kinds) {
    std::int32_t sum = 0;
    for (int n = k.first; n <= k.last; ++n) sum += terms.read_per_file[static_cast<std::size_t>(n)];
    io::write_fmt(io::console, io::Format(k.fmt), sum);
  }
  io::write_fmt(io::console, io::Format("(' perturbation terms merged away ',I7)"), merged);
  io::write_record(io::console,
                   " block            mV   mU   mR  p0V  p0U  p0R  p1V  p1U  p1R  p2V  p2U  p2R");
  auto row = [](const char* title, const std::array<std::int32_t, 12>& v) {
    const std::vector<io::Value> values(v.begin(), v.end());
    io::write_fmt_values(io::console, io::Format(std::string("(' ") + title + "',12I5)"), values);
  };
  row("written       ", counts.written);
  row("kept, level 1 ", counts.kept[0]);
  row("kept, level 2 ", counts.kept[1]);
  row("kept, level 3 ", counts.kept[2]);
}

void make_series85() {
  sb::ElpTerms terms;
  sb::read_elp_folder(kInUnit, elp_folder, terms);
  sb::Series series;
  std::int32_t merged = 0;
  sb::build_series(terms, series, merged);

  sb::BlockCounts counts;
  create_temp();
  try {
    io::open(kOutUnit, temp_path, io::OpenMode::Replace);
    sb::write_series(kOutUnit, series);
    io::close(kOutUnit);
    sb::count_kept(kInUnit, temp_path, counts);
    if (std::rename(temp_path, output_path.c_str()) != 0)
      io::fail(io::Fault::CannotOpen, io::Statement::Open, output_path,
               std::string("renaming ") + temp_path + ": " + std::strerror(errno));
    temp_path[0] = '\0';
  } catch (...) {
    discard_temp();
    throw;
  }
  report(terms, merged, counts);
  io::stop("written: " + output_path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 3 || argv[1][0] == '\0' || argv[2][0] == '\0') {
    std::fputs(kUsage, stderr);
    return 2;
  }
  elp_folder = argv[1];
  output_path = argv[2];
  return io::run_program(make_series85);
}
