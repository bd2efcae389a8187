// The console dialogues: the input is what is typed.
//
// First byte even: kavex without input.txt (keyboard entry of the 21 values,
// echoes, menu; choice 2 repeats it), then the run preparation. Odd:
// kav_scan's three limits and its menu. The end of the typed text ends a
// dialogue with the run-time error report (an io::Stop), as does a value that
// is not a number; choice 3 stops with "TERMINATED BY USER".
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "io/stop.h"
#include "io/units.h"
#include "scan/scan.h"
#include "search/horoscope.h"
#include "search/search.h"
#include "search/span.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool kavex = data[0] % 2 == 0;
  fuzzsupport::reset_io();
  const int in_fd = fuzzsupport::console_reads(data + 1, size - 1);
  try {
    const fuzzsupport::FpTraps traps;
    if (kavex) {
      search::answer = '\0';
      search::Horoscope h;
      io::open(3, "otvet.txt", io::OpenMode::Replace);
      search::obtain_horoscope(h);  // no input.txt in the folder: the keyboard
      search::Run run;
      search::prepare_run(h, search::kSearchSpan, run);
    } else {
      scan::Limits limits;
      do {
        scan::ask_limits(limits);
      } while (scan::menu() == 2);
    }
  } catch (const io::Stop&) {
    // End of input, a value that is not a number, choice 3.
  }
  fuzzsupport::reset_io();
  ::close(in_fd);
  return 0;
}
