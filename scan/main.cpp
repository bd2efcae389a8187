// kav_scan: a table of positions (degrees and constellation scale) of the
// Sun, the Moon, Saturn, Jupiter, Mars, Venus, Mercury and Uranus for a span
// of Julian days, written to scan.txt.
#include "ephemeris/Lune.h"
#include "io/stop.h"
#include "io/units.h"
#include "scan/scan.h"

namespace {

void kav_scan() {
  io::open(3, "scan.txt", io::OpenMode::Replace);
  ephemeris::load_lunar_series(3);
  scan::dialogue_and_table();
}

}  // namespace

int main() { return io::run_program(kav_scan); }
