// Number text: the exact characters of numbers in records, both ways.
//
// Fw.d (edit_f): the value is taken to 17 significant decimal digits (correctly
// rounded from the binary value), then rounded half up on those digits at the
// d-th decimal.
//   F5.1:  45.0 -> " 45.0"   359.96 -> "360.0"   -2.5 -> " -2.5"
//          -0.04 -> "   .0"  (a negative value rounding to zero loses its sign)
//          1000.0 -> "*****" (too wide: w asterisks)
//   F5.2:  0.37 -> "  .37"   (no leading zero below 1)   11.486 -> "11.49"
//   F3.0:  0.3 -> " 0."      (the one leading zero: d = 0 and magnitude below 0.5)
// Iw (edit_i): right-aligned, minus sign for negatives, asterisks when too wide.
//
// List-directed real (list_real_text): 16 significant digits (17, then half up).
// For 1 <= |x| < 10^7: the integer digits, ".", 15 decimals; otherwise
// d.ddddddddddddddd, "E", the exponent's sign and three digits.
//   1.0 -> "1.000000000000000"        2451545.5 -> "2451545.500000000000000"
//   0.5 -> "5.000000000000000E-001"   12345678.0 -> "1.234567800000000E+007"
//   0.0 -> "0.000000000000000E+000"   -3.25 -> "-3.250000000000000"
// Longest text: 23 characters. Infinities and NaNs never reach these routines
// (the floating-point traps end the program first); they show as asterisks.
#pragma once

#include <cstdint>
#include <string_view>

namespace io {

// Fw.d: writes exactly w characters to out. 1 <= w <= 64, 0 <= d < w.
void edit_f(char* out, double x, int w, int d);
// Fw.d rounded to the nearest from the binary value (ties to even) and keeping
// the sign of a negative value that rounds to zero, as C's printf "%.*f"; the
// leading zero rule is edit_f's: 0.015625 with F9.5 -> "   .01562",
// -0.000001 -> " -.00000". Same ranges as edit_f.
void edit_f_nearest(char* out, double x, int w, int d);
// Iw: writes exactly w characters to out. 1 <= w <= 64.
void edit_i(char* out, std::int32_t v, int w);
// List-directed texts without the field padding; return the length.
int list_real_text(char* out, double x);
int list_int_text(char* out, std::int32_t v);

enum class ParseResult { Ok, Bad, Range };

// A number as list-directed input and F fields accept it: optional sign,
// digits with an optional decimal point, optional exponent (E or D in either
// case, optional sign, digits). implied_decimals >= 0: an F field's d, applied
// when the text has no decimal point (F9.5 of "123456789" is 1234.56789);
// -1 for list-directed input. Range: the magnitude exceeds a double.
ParseResult parse_real(std::string_view text, double& out, int implied_decimals = -1);
// Optional sign and digits, as an I field; Range beyond a 32-bit integer.
ParseResult parse_int(std::string_view text, std::int32_t& out);

}  // namespace io
