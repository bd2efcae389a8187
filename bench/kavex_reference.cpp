// kavex with the straightforward day loop, which computes the Sun on every
// day of the span: the yardstick for the loop kavex uses. Same dialogue,
// same report.
#include "ephemeris/Lune.h"
#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "search/report.h"
#include "search/search.h"
#include "search/span.h"

namespace {

search::Horoscope horoscope;

void kavex_reference() {
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  ephemeris::load_lunar_series(3);
  search::obtain_horoscope(horoscope);
  search::Run run;
  search::prepare_run(horoscope, search::kSearchSpan, run);
  search::search_days_reference(run, search::kSearchSpan, search::kSearchSpan.first_day,
                                search::kSearchSpan.last_day);
  search::write_closing();
  io::stop();
}

}  // namespace

int main() { return io::run_program(kavex_reference); }
