// The horoscope and how kavex obtains it: from input.txt, or at the keyboard
// with echoes and the menu.
#pragma once

#include <array>

namespace search {

// Bodies in report order (BodyIndex 1..7 is element 0..6).
inline constexpr int kBodies = 7;

// Scale values (CsValue) of the horoscope, report order: SUN, MOON, SATURN,
// JUPITER, MARS, VENUS, MERCURY. A best point of 100.0 or more means none is
// given. Stored as read, unchecked.
struct Horoscope {
  std::array<double, kBodies> lower{};
  std::array<double, kBodies> upper{};
  std::array<double, kBodies> best{};
};

// The answer character: the marker test of input.txt and the menu share it;
// it is never cleared (a zero byte at program start).
extern char answer;

// Reads input.txt already open on unit 4: three blocks (lower limits, upper
// limits, best points), each a line starting with "#" followed by seven
// numbers. A bad block is tried again from the next marker. Returns true when
// all three blocks were read (the caller then writes the report-file echo),
// false when the file ended first (the search starts with the horoscope as it
// stands, without echo).
bool read_horoscope_file(Horoscope& h);

// Keyboard entry: the introduction, the 21 prompts and reads, then the console
// echo and the report-file echo.
void enter_horoscope(Horoscope& h);

// The four-line echo of the horoscope on the scale, to the console.
void echo_to_console(const Horoscope& h);
// The echo block written to the report file (unit 3).
void echo_to_report(const Horoscope& h);

// The menu after keyboard entry. Returns 1 (run) or 2 (change the
// horoscope); choice 3 stops with "TERMINATED BY USER".
int menu();

// The whole dialogue of the program's start, after the report file is open
// and the lunar series loaded: returns when the search is to start.
void obtain_horoscope(Horoscope& h);

}  // namespace search
