// make_series85's reader of the ELP 2000-82B files: the input is one ELP file.
//
// The first byte picks the file number 1..36 (so the record layout: main
// problem, Delaunay or one of the two planetary layouts), the rest is the
// file. The file is read under the programs' floating-point traps; after a
// read that succeeds, the terms are fitted, merged, selected and written as
// SERIES85 would be, and the written file is read back as the loader does.
// Without traps there: amplitudes near the largest double may overflow the
// merge sums, which make_series85 itself reports through its traps.
#include <cstddef>
#include <cstdint>

#include "ephemeris/series_builder.h"
#include "fuzz_support.h"
#include "io/stop.h"
#include "io/units.h"

namespace sb = ephemeris::series;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int n = 1 + data[0] % sb::kElpFiles;
  fuzzsupport::reset_io();
  fuzzsupport::write_file("data.txt", data + 1, size - 1);
  sb::ElpTerms terms;
  try {
    const fuzzsupport::FpTraps traps;
    sb::read_elp_file(4, "data.txt", n, terms);
  } catch (const io::Stop&) {
    fuzzsupport::reset_io();
    return 0;  // a malformed line ends with the run-time error report
  }
  fuzzsupport::check(terms.read_per_file[static_cast<std::size_t>(n)] >= 0, "term count not negative");
  try {
    sb::Series series;
    std::int32_t merged = 0;
    sb::build_series(terms, series, merged);
    fuzzsupport::check(merged >= 0, "merged count not negative");
    for (const auto& block : series.main)
      fuzzsupport::check(block.size() <= static_cast<std::size_t>(sb::kMainKept), "main problem cut");
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    sb::write_series(3, series);
    io::close(3);
    sb::BlockCounts counts;
    sb::count_kept(4, "otvet.txt", counts);
  } catch (const io::Stop&) {
    // Reading back a field written as asterisks (too wide) is reported.
  }
  fuzzsupport::reset_io();
  return 0;
}
