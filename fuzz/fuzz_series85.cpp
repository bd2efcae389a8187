// The lunar series loader: the input is SERIES85.
//
// load_lunar_series reads SERIES85 from the working directory, so each run
// writes the input there and loads it with level 3 (what both programs pass).
// The load runs under the programs' floating-point traps. After a load that
// succeeds, the counts must lie within the capacities and
// every stored number must be finite, and the Moon is computed at a few times
// (the evaluation trusts the counts to index the arrays).
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "ephemeris/Lune.h"
#include "fuzz_support.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

void check_loaded() {
  const ephemeris::LunarSeries& s = ephemeris::lunar_series;
  for (int c = 0; c < 3; ++c) {
    const int n = s.main_count[c];
    fuzzsupport::check(n >= 0 && n <= ephemeris::kMainCapacity, "main-problem count within capacity");
    for (int j = 0; j < n; ++j) {
      fuzzsupport::check(std::isfinite(s.main_amp[c][j]), "finite main-problem amplitude");
      for (int k = 0; k < 5; ++k)
        fuzzsupport::check(std::isfinite(s.main_phase[c][j][k]), "finite main-problem phase");
    }
    int total = 0;
    for (int p = 0; p < 3; ++p) {
      fuzzsupport::check(s.pert_count[c][p] >= 0, "perturbation count not negative");
      total += s.pert_count[c][p];
    }
    fuzzsupport::check(total <= ephemeris::kPertCapacity, "perturbation counts within capacity");
    for (int j = 0; j < total; ++j) {
      fuzzsupport::check(std::isfinite(s.pert_amp[c][j]), "finite perturbation amplitude");
      fuzzsupport::check(std::isfinite(s.pert_phase[c][j][0]) && std::isfinite(s.pert_phase[c][j][1]),
                         "finite perturbation phase");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::reset_io();
  fuzzsupport::write_file("SERIES85", data, size);
  bool loaded = false;
  try {
    const fuzzsupport::FpTraps traps;
    ephemeris::load_lunar_series(3);
    loaded = true;
  } catch (const io::Stop&) {
    // A damaged file ends with the run-time error report.
  }
  fuzzsupport::reset_io();
  if (!loaded) return 0;
  check_loaded();
  // Without traps: huge amplitudes may overflow the sums, which the programs'
  // traps report as designed; here the sums only have to stay inside the arrays.
  for (double T : {0.0, -24.5, 0.37}) {
    double lon, lat, dist;
    ephemeris::moon_longitude(T, lon, lat, dist);
  }
  return 0;
}
