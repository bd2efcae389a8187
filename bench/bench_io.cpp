// Write throughput of the text layer: the record shapes the programs write
// most, into a file unit (records per second and bytes per second, CR LF
// included), plus the number editing alone and the console.
//
// The file lives in the system's temporary directory and is replaced every
// 2^20 records (outside the timing) so that it stays below ~100 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "io/format.h"
#include "io/list.h"
#include "io/number_text.h"
#include "io/units.h"

namespace {

constexpr int kUnit = 3;
constexpr std::int64_t kRecordsPerFile = 1 << 20;

std::string bench_file() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("kav_bench_io_" + std::to_string(::getpid()) + ".txt"))
          .string();
  return path;
}

// Opens the unit on a fresh file; every kRecordsPerFile records it starts
// the file again without counting the time.
class FileUnit {
 public:
  explicit FileUnit(benchmark::State& state) : state_(state) { io::open(kUnit, bench_file(), io::OpenMode::Replace); }
  ~FileUnit() {
    io::close(kUnit);
    std::filesystem::remove(bench_file());
  }
  void count() {
    if (++n_ % kRecordsPerFile == 0) {
      state_.PauseTiming();
      io::open(kUnit, bench_file(), io::OpenMode::Replace);
      state_.ResumeTiming();
    }
  }

 private:
  benchmark::State& state_;
  std::int64_t n_ = 0;
};

// Degree values as the programs print them: 0 to 360 with all their digits.
const std::vector<double>& degrees() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(1);
    std::uniform_real_distribution<double> u(0.0, 360.0);
    std::vector<double> d(8192);
    for (double& x : d) x = u(rng);
    return d;
  }();
  return v;
}

void finish(benchmark::State& state, std::size_t record_bytes) {
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(record_bytes + 2));
}

// The day report's J2000 row: seven F5.1 with blanks between.
void BM_FmtRow7(benchmark::State& state) {
  const io::Format f("(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
  const auto& d = degrees();
  FileUnit unit(state);
  std::size_t i = 0;
  for (auto _ : state) {
    io::write_fmt(kUnit, f, d[i], d[i + 1], d[i + 2], d[i + 3], d[i + 4], d[i + 5], d[i + 6]);
    i = (i + 7) & 8191;
    if (i > 8180) i = 0;
    unit.count();
  }
  finish(state, 56);
}
BENCHMARK(BM_FmtRow7);

// The table's degree row: eight values and a trailing text.
void BM_FmtDegreeRow8(benchmark::State& state) {
  const io::Format f("(X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1,10X,F5.1,X,'(deg)')");
  const auto& d = degrees();
  FileUnit unit(state);
  std::size_t i = 0;
  for (auto _ : state) {
    io::write_fmt(kUnit, f, d[i], d[i + 1], d[i + 2], d[i + 3], d[i + 4], d[i + 5], d[i + 6],
                  d[i + 7]);
    i = (i + 8) & 8191;
    unit.count();
  }
  finish(state, 72);
}
BENCHMARK(BM_FmtDegreeRow8);

void BM_FmtDate(benchmark::State& state) {
  const io::Format f("(X,'YEAR/MONTH/DAY= ',I6,'/ ',I2,'/ ',I2)");
  FileUnit unit(state);
  std::int32_t day = 0;
  for (auto _ : state) {
    io::write_fmt(kUnit, f, -3000 + day / 365, 1 + day % 12, 1 + day % 28);
    ++day;
    unit.count();
  }
  finish(state, 31);
}
BENCHMARK(BM_FmtDate);

void BM_FmtJulianDay(benchmark::State& state) {
  const io::Format f("(36X,' JD= ',F11.2)");
  FileUnit unit(state);
  double jd = 625673.5;
  for (auto _ : state) {
    io::write_fmt(kUnit, f, jd);
    jd += 1.0;
    unit.count();
  }
  finish(state, 52);
}
BENCHMARK(BM_FmtJulianDay);

// "YEAR/MONTH/DAY= " and three integers: 16 + 11 + 1 + 12 + 1 + 12 after the blank.
void BM_ListDate(benchmark::State& state) {
  FileUnit unit(state);
  std::int32_t day = 0;
  for (auto _ : state) {
    io::write_list(kUnit, "YEAR/MONTH/DAY= ", -3000 + day / 365, "/", 1 + day % 12, "/",
                   1 + day % 28);
    ++day;
    unit.count();
  }
  finish(state, 54);
}
BENCHMARK(BM_ListDate);

void BM_ListText(benchmark::State& state) {
  FileUnit unit(state);
  for (auto _ : state) {
    io::write_list(kUnit, "----------------------------------------");
    unit.count();
  }
  finish(state, 41);
}
BENCHMARK(BM_ListText);

// A text and a list-directed real (the Julian day of a report).
void BM_ListReal(benchmark::State& state) {
  FileUnit unit(state);
  double jd = 625673.5;
  for (auto _ : state) {
    io::write_list(kUnit, " JD= ", jd);
    jd += 1.0;
    unit.count();
  }
  finish(state, 30);
}
BENCHMARK(BM_ListReal);

// The same row on the console (bound to /dev/null): one write per record.
void BM_ConsoleRow7(benchmark::State& state) {
  const io::Format f("(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
  const int fd = ::open("/dev/null", O_WRONLY);
  io::bind_console(-1, fd);
  const auto& d = degrees();
  std::size_t i = 0;
  for (auto _ : state) {
    io::write_fmt(io::console, f, d[i], d[i + 1], d[i + 2], d[i + 3], d[i + 4], d[i + 5], d[i + 6]);
    i = (i + 7) & 8191;
    if (i > 8180) i = 0;
  }
  io::reset_units();
  ::close(fd);
  finish(state, 56);
}
BENCHMARK(BM_ConsoleRow7);

// Number editing alone, per value.
void BM_EditF5_1(benchmark::State& state) {
  const auto& d = degrees();
  char out[8];
  std::size_t i = 0;
  for (auto _ : state) {
    io::edit_f(out, d[i], 5, 1);
    benchmark::DoNotOptimize(out);
    i = (i + 1) & 8191;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditF5_1);

void BM_ListRealText(benchmark::State& state) {
  const auto& d = degrees();
  char out[32];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(io::list_real_text(out, d[i]));
    i = (i + 1) & 8191;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ListRealText);

void BM_FormatCompile(benchmark::State& state) {
  for (auto _ : state) {
    io::Format f("(6X,F5.1,2X,F5.1,2X,F5.1,3X,F5.1,3X,F5.1,2X,F5.1,3X,F5.1)");
    benchmark::DoNotOptimize(f.items().data());
  }
}
BENCHMARK(BM_FormatCompile);

}  // namespace

BENCHMARK_MAIN();
