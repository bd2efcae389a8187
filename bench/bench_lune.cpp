// Cost of one Moon position: moon_longitude at level 3 from the real
// SERIES85 (KAV_SERIES85), and ERFA's eraMoon98 for scale, in the same run.
// Days step through 1900-2100 so that the phases vary as in a search.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <benchmark/benchmark.h>
#include <erfa.h>

#include "ephemeris/Lune.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

namespace fs = std::filesystem;

constexpr double kFirstDay = 2415020.5;  // 1900
constexpr int kDays = 73049;             // to 2100

// Loads the real file at level 3 through a scratch directory holding a link
// named SERIES85; the console lines go to /dev/null.
bool load_real_series() {
  static int loaded = -1;
  if (loaded >= 0) return loaded == 1;
  loaded = 0;
  if (!fs::exists(KAV_SERIES85)) return false;
  const fs::path old = fs::current_path();
  char tmpl[] = "/tmp/bench_lune_XXXXXX";
  if (!mkdtemp(tmpl)) return false;
  const fs::path dir = tmpl;
  fs::create_symlink(fs::absolute(KAV_SERIES85), dir / "SERIES85");
  fs::current_path(dir);
  const int null_fd = ::open("/dev/null", O_WRONLY);
  io::bind_console(-1, null_fd);
  try {
    ephemeris::load_lunar_series(3);
    loaded = 1;
  } catch (const io::Stop& s) {
    std::fprintf(stderr, "%s", s.text.c_str());
  }
  io::reset_units();
  ::close(null_fd);
  fs::current_path(old);
  fs::remove_all(dir);
  return loaded == 1;
}

void BM_moon_longitude(benchmark::State& state) {
  if (!load_real_series()) {
    state.SkipWithError("no SERIES85");
    return;
  }
  const auto& s = ephemeris::lunar_series;
  int terms = 0;
  for (int c = 0; c < 3; ++c) terms += s.main_count[c] + s.pert_count[c][0] + s.pert_count[c][1] + s.pert_count[c][2];
  int day = 0;
  for (auto _ : state) {
    const double T = (kFirstDay + day - 2451545.0) * 2.7378507871321012e-05;
    double lon, lat, dist;
    ephemeris::moon_longitude(T, lon, lat, dist);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(dist);
    if (++day == kDays) day = 0;
  }
  state.counters["kept_terms"] = terms;
}
BENCHMARK(BM_moon_longitude);

void BM_eraMoon98(benchmark::State& state) {
  int day = 0;
  for (auto _ : state) {
    double pv[2][3];
    eraMoon98(kFirstDay + day, 0.0, pv);
    benchmark::DoNotOptimize(pv);
    if (++day == kDays) day = 0;
  }
}
BENCHMARK(BM_eraMoon98);

}  // namespace

BENCHMARK_MAIN();
