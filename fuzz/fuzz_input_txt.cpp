// kavex's horoscope file: the input is input.txt.
//
// The run is the program's own start up to the day loop: otvet.txt created,
// the horoscope obtained (input.txt exists, so it is read; no keyboard), then
// the run preparation that turns the values into longitudes and ranks the
// best points. The lunar series is not needed for that.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "search/search.h"
#include "search/span.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::reset_io();
  fuzzsupport::write_file("input.txt", data, size);
  search::answer = '\0';  // as at program start
  search::Horoscope h;    // all fields 0.0
  try {
    const fuzzsupport::FpTraps traps;
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    search::obtain_horoscope(h);
    fuzzsupport::check(io::is_open(4), "input.txt was read, not the keyboard");
    search::Run run;
    search::prepare_run(h, search::kSearchSpan, run);
  } catch (const io::Stop&) {
    // Bad input, or values outside the scale, end this way.
  }
  fuzzsupport::reset_io();
  return 0;
}
