// kavex: dates a horoscope. Reads the stretches of the zodiac in which seven
// bodies stood (input.txt, or at the keyboard) and reports every day of the
// search span on which all of them fit.
#include "ephemeris/Lune.h"
#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "search/search.h"
#include "search/span.h"

namespace {

search::Horoscope horoscope;  // all fields 0.0 at start

void kavex() {
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  ephemeris::load_lunar_series(3);
  search::obtain_horoscope(horoscope);
  search::run_search(horoscope, search::kSearchSpan);
}

}  // namespace

int main() { return io::run_program(kavex); }
