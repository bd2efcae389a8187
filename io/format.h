// Formatted records: format descriptor strings such as
//   "(X,'from: ',F4.1,3X,F4.1)"  "(I3,13I3,2(2X,F9.5))"  "(A)"
// Descriptors: nX (X alone is 1X), 'text' ('' inside stands for one
// apostrophe), Iw, Fw.d, A (reading only) and Aw; repeat counts in front of a
// descriptor or of a parenthesised group. Mode descriptors, for the F fields
// written after them: LZP prints the leading zero of a value below 1 when the
// field has room ("0.00003", "-0.01007"), LZS suppresses it again (the
// default); RN rounds to the nearest from the binary value, ties to even,
// keeping the sign of a negative value that rounds to zero (the text of C's
// printf "%.*f"), RP goes back to the default rounding. The programs' own
// formats use neither; they are for data files written in that convention.
//
// Writing: each value takes the next I or F descriptor (number text as in
// number_text.h); after the last value the descriptors up to the next I or F,
// or to the end, are still carried out, so trailing texts are written. One
// write is one record.
//
// Reading: Iw and Fw.d take the next w characters (blanks ignored, empty field
// zero, a comma ends the field early, a record that ends inside a field ends
// it, later fields read zero); Fw.d without a decimal point takes its last d
// digits as decimals; nX skips; A takes as many characters as the variable
// holds, blank-padded. The rest of the record is passed over.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/list.h"

namespace io {

class Format {
 public:
  enum class Op : std::uint8_t { Skip, Text, Int, Real, Chars };
  struct Item {
    Op op;
    int w = 0;       // Skip: columns; Int/Real/Chars: field width (Chars: 0 = variable's length)
    int d = 0;       // Real: decimals
    std::size_t text_pos = 0, text_len = 0;  // Text: slice of texts_
    std::uint8_t mode = 0;  // Real: kLeadZero | kNearest
  };
  static constexpr std::uint8_t kLeadZero = 1, kNearest = 2;

  // Compiles the descriptor string; a malformed string is a program fault
  // (std::invalid_argument), found when the format is first built.
  explicit Format(std::string_view descriptors);

  std::span<const Item> items() const { return items_; }
  std::string_view text_of(const Item& it) const {
    return std::string_view(texts_).substr(it.text_pos, it.text_len);
  }

 private:
  std::vector<Item> items_;  // groups and repeat counts expanded
  std::string texts_;
};

// A value to write: a 32-bit integer for I, a double for F.
struct Value {
  bool is_int;
  std::int32_t i;
  double d;
  Value(std::int32_t v) : is_int(true), i(v), d(0) {}
  Value(double v) : is_int(false), i(0), d(v) {}
};

void write_fmt_values(int unit, const Format& f, std::span<const Value> values);

template <class... V>
void write_fmt(int unit, const Format& f, V... v) {
  const std::array<Value, sizeof...(V)> values{Value(v)...};
  write_fmt_values(unit, f, values);
}

// Build the record text without writing it (tests, and callers that need it twice).
std::string format_record(const Format& f, std::span<const Value> values);

// A variable of a formatted read.
struct FmtVar {
  std::int32_t* integer = nullptr;
  double* real = nullptr;
  char* text = nullptr;
  std::size_t len = 0;
};
inline FmtVar fvar(std::int32_t& v) { return {&v, nullptr, nullptr, 0}; }
inline FmtVar fvar(double& v) { return {nullptr, &v, nullptr, 0}; }
inline FmtVar fvar(char& c) { return {nullptr, nullptr, &c, 1}; }

// With error and end-of-file branches.
ReadStatus try_read_fmt(int unit, const Format& f, std::span<const FmtVar> vars);
// Without branches: an error or end of file raises the run-time error report.
void read_fmt(int unit, const Format& f, std::span<const FmtVar> vars);

// Parse one record (tests and the readers above). Returns Ok or Error;
// `bad_field` receives the offending field's text on Error.
ReadStatus parse_fmt_record(std::string_view record, const Format& f,
                            std::span<const FmtVar> vars, std::string* bad_field = nullptr);

}  // namespace io
