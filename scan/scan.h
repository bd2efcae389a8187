// kav_scan: a table of the positions of the Sun, the Moon, the planets and
// Uranus for a span of Julian days, in degrees and on the constellation scale.
#pragma once

namespace scan {

struct Limits {
  double first_day = 0;  // Julian day of the first row, as typed
  double last_day = 0;   // Julian day that bounds the rows, as typed
  double step = 0;       // days between rows; may be fractional or negative
};

// The hint block shown once at start (console).
void write_hints();
// The three prompts and reads (console).
void ask_limits(Limits& limits);
// The menu: returns 1 (run) or 2 (change the limits); 3 stops with
// "TERMINATED BY USER". A wrong selection repeats only the prompt.
int menu();

// The table run: banner, rows and closing lines to scan.txt (unit 3, open),
// the day lines to the console. Rows: (last - first) / step truncated toward
// zero, plus one; none when that is 0 or less. A quotient too large for a
// 32-bit row count stops with a message.
void write_table(const Limits& limits);

// The whole program after scan.txt is open and the series loaded.
void dialogue_and_table();

}  // namespace scan
