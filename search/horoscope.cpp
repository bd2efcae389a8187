#include "search/horoscope.h"

#include <string>

#include "io/format.h"
#include "io/list.h"
#include "io/menu.h"
#include "io/stop.h"
#include "io/units.h"

namespace search {
namespace {

constexpr int kReport = 3;  // otvet.txt
constexpr int kInput = 4;   // input.txt

const std::string kBlank8(8, ' ');
constexpr const char* kScaleLines[4] = {
    "      12=0-ARIES-1-TAURUS-2-GEMINI-3", "      3-CANCER-4-LEO-5-VIRGO-6",
    "      6-LIBRA-7-SCORPIO-8-SAGITTARIUS-9", "      9-CAPRICORN-10-AQUARIUS-11-PISCES-12=0"};
constexpr const char* kHeader1 = "       SUN   MOON  SATURN  JUPITER  MARS  VENUS";
constexpr const char* kHeader2 = "   MERCURY";
constexpr const char* kRule44 = "============================================ ";

const io::Format kFrom("(X,'from: ',F4.1,3X,F4.1,3X,F4.1,4X,F4.1,4X,F4.1,3X,F4.1,4X,F4.1)");
const io::Format kTo("(X,'  to: ',F4.1,3X,F4.1,3X,F4.1,4X,F4.1,4X,F4.1,3X,F4.1,4X,F4.1)");
const io::Format kPoint("(X,'point:',F4.1,3X,F4.1,3X,F4.1,4X,F4.1,4X,F4.1,3X,F4.1,4X,F4.1)");

struct Prompts {
  const char* lower;
  const char* upper;
  const char* best;
  const char* banner;
};
constexpr const char* kMoonBanner = "=======      CONSTELLATION    SCALE     =========== ";
constexpr Prompts kPrompts[kBodies] = {
    {"Enter lower limit for the Sun ", "Enter upper limit for the Sun ",
     "Enter approx. best point for the Sun ", "=======    CONSTELLATION    SCALE ======== "},
    {"Enter lower limit for the Moon", "Enter upper limit for the Moon",
     "Enter  approx. best point for the Moon", kMoonBanner},
    {"Enter lower limit for the Saturn", "Enter upper limit for the Saturn",
     "Enter approx. best point for the Saturn", kMoonBanner},
    {"Enter lower limit for the Jupiter", "Enter upper limit for the Jupiter",
     "Enter approx. best point for the Jupiter", kMoonBanner},
    {"Enter lower limit for the Mars", "Enter upper limit for the Mars",
     "Enter approx. best point for the Mars", kMoonBanner},
    {"Enter lower limit for the Venus", "Enter upper limit for the Venus",
     "Enter approx. best point for the Venus", kMoonBanner},
    {"Enter lower limit for the Mercury", "Enter upper limit for the Mercury",
     "Enter approx. best point for the Mercury", kMoonBanner},
};

void write_scale_lines(int unit) {
  for (const char* line : kScaleLines) io::write_list(unit, line);
}

void write_row(int unit, const io::Format& f, const std::array<double, kBodies>& v) {
  io::write_fmt(unit, f, v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
}

void write_rows(int unit, const Horoscope& h) {
  io::write_list(unit, kHeader1, kHeader2);
  write_row(unit, kFrom, h.lower);
  write_row(unit, kTo, h.upper);
  write_row(unit, kPoint, h.best);
}

// One block of input.txt: the marker scan, then seven values. Returns false
// at the end of the file.
bool read_block(std::array<double, kBodies>& field) {
  for (;;) {
    const io::ReadStatus marker = io::try_read_list_of(kInput, answer);
    if (marker == io::ReadStatus::EndOfFile) return false;
    if (marker == io::ReadStatus::Error)
      io::fail(io::Fault::BadText, io::Statement::Read, io::unit_name(kInput),
               "line " + std::to_string(io::record_number(kInput)));
    if (answer != '#') continue;
    const io::ListVar vars[kBodies] = {io::var(field[0]), io::var(field[1]), io::var(field[2]),
                                       io::var(field[3]), io::var(field[4]), io::var(field[5]),
                                       io::var(field[6])};
    // A bad value or the end of the file: look for the next marker of the same block.
    if (io::try_read_list(kInput, vars) == io::ReadStatus::Ok) return true;
  }
}

void write_introduction() {
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, "!!!!!!!!!!!ATTENTION!!!!!!!!!!!!!!!!!!!!!!!!");
  io::write_list(io::console, "File INPUT.TXT was not found => please,   ");
  io::write_list(io::console, "describe planet positions in the horoscope");
  io::write_list(io::console, "by entering limits and best points for them");
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, "Better way to input data is using INPUT.TXT ");
  io::write_list(io::console, std::string(44, '!'));
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, "   Enter limits for planets positions");
  io::write_list(io::console, "   according to the following scale:");
  io::write_list(io::console, kBlank8);
  io::write_list(io::console, "=======   CONSTELLATION    SCALE   ====== ");
  write_scale_lines(io::console);
  io::write_list(io::console, kRule44);
}

}  // namespace

char answer = '\0';

bool read_horoscope_file(Horoscope& h) {
  return read_block(h.lower) && read_block(h.upper) && read_block(h.best);
}

void enter_horoscope(Horoscope& h) {
  write_introduction();
  for (int b = 0; b < kBodies; ++b) {
    const Prompts& p = kPrompts[b];
    io::write_list(io::console, kBlank8);
    io::write_list(io::console, p.lower);
    io::read_list_of(io::console, h.lower[b]);
    io::write_list(io::console, p.upper);
    io::read_list_of(io::console, h.upper[b]);
    io::write_list(io::console, p.best);
    io::read_list_of(io::console, h.best[b]);
    io::write_list(io::console, p.banner);
    write_scale_lines(io::console);
    io::write_list(io::console, kRule44);
  }
  echo_to_console(h);
  echo_to_report(h);
}

void echo_to_console(const Horoscope& h) { write_rows(io::console, h); }

void echo_to_report(const Horoscope& h) {
  io::write_list(kReport, "======= CONSTELLATION    SCALE  ===================");
  write_scale_lines(kReport);
  io::write_list(kReport, "   ");
  io::write_list(kReport, "--- HOROSCOPE ACCORDING TO CONSTELLATIONS SCALE: --");
  write_rows(kReport, h);
  io::write_list(kReport, std::string(51, '='));
}

int menu() { return io::three_way_menu("        2: CHANGE HOROSCOPE", answer); }

void obtain_horoscope(Horoscope& h) {
  if (io::try_open(kInput, "input.txt", io::OpenMode::Old)) {
    if (read_horoscope_file(h)) echo_to_report(h);
    return;
  }
  do {
    enter_horoscope(h);
  } while (menu() == 2);
}

}  // namespace search
