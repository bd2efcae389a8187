// planet_position against ERFA's eraPlan94, per body, on the same dates.
//
// Each iteration computes one body on the next day of the span the search
// program visits (Julian days 625500 .. 2451545, then from the start again),
// so arguments and branch history change as they do in the day loop.
//   bench_planets --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// and read the medians. eraPlan94 returns position and velocity on the
// equator; "eraPlan94+lonlatr" adds the atan2, sqrt and asin that
// planet_position does on top, which makes the work the same.
#include <benchmark/benchmark.h>
#include <erfa.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "ephemeris/planets.h"

namespace {

constexpr double kFirstDay = 625500.0;
constexpr double kLastDay = 2451545.0;

inline double next_day(double jd) { return jd >= kLastDay ? kFirstDay : jd + 1.0; }

void BM_planet_position(benchmark::State& st) {
  const std::int32_t planet = static_cast<std::int32_t>(st.range(0));
  double jd = kFirstDay;
  double lon, lat, r;
  std::array<double, 6> state;
  std::int32_t status;
  for (auto _ : st) {
    ephemeris::planet_position(jd, planet, lon, lat, r, state, status);
    benchmark::DoNotOptimize(state);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(status);
    jd = next_day(jd);
  }
}

void BM_eraPlan94(benchmark::State& st) {
  const int planet = static_cast<int>(st.range(0));
  double jd = kFirstDay;
  double pv[2][3];
  for (auto _ : st) {
    int status = eraPlan94(jd, 0.0, planet, pv);
    benchmark::DoNotOptimize(pv);
    benchmark::DoNotOptimize(status);
    jd = next_day(jd);
  }
}

void BM_eraPlan94_lonlatr(benchmark::State& st) {
  const int planet = static_cast<int>(st.range(0));
  double jd = kFirstDay;
  double pv[2][3];
  for (auto _ : st) {
    int status = eraPlan94(jd, 0.0, planet, pv);
    const double x = pv[0][0], y = pv[0][1], z = pv[0][2];
    double lon = std::atan2(y, x);
    double r = std::sqrt(x * x + y * y + z * z);
    double lat = std::asin(z / r);
    benchmark::DoNotOptimize(pv);
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(lon);
    benchmark::DoNotOptimize(lat);
    benchmark::DoNotOptimize(r);
    jd = next_day(jd);
  }
}

}  // namespace

BENCHMARK(BM_planet_position)->DenseRange(1, 8)->ArgName("planet");
BENCHMARK(BM_eraPlan94)->DenseRange(1, 8)->ArgName("planet");
BENCHMARK(BM_eraPlan94_lonlatr)->DenseRange(1, 8)->ArgName("planet");

BENCHMARK_MAIN();
