// List-directed records.
//
// Writing: the record begins with one blank; texts are copied as they are,
// side by side; an integer takes 11 columns and a real 24, one more for every
// number after the first number of the same write. A record has room for 79
// characters after its first blank: a number that does not fit starts a new
// record, a text that does not fit is split and goes on in a new record.
//   write_list(u, "YEAR/MONTH/DAY= ", 2000, "/", 1, "/", 1)
//     -> " YEAR/MONTH/DAY=        2000/           1/           1"
//   write_list(u, 5, -5)      -> "           5          -5"
//   write_list(u, "X= ", 1.0) -> " X=        1.000000000000000"
//
// Reading: values separated by blanks, tabs, commas or record ends; empty
// records are skipped; a comma after a comma (or first of all) is a null value
// that leaves its variable alone; a slash ends the read; r*v repeats v r
// times, r* gives r null values; text may be quoted with ' or ". After the
// last variable the rest of the record is passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace io {

class ListWriter {
 public:
  explicit ListWriter(int unit);
  void text(std::string_view s);
  void integer(std::int32_t v);
  void real(double v);
  void finish();  // writes the last record

 private:
  void put(std::string_view field);
  void end_record();
  int unit_;
  int room_;
  bool number_written_;
  bool split_last_ = false;  // the last text ended its record exactly
  std::size_t len_;
  char rec_[512];
};

namespace detail {
inline void list_item(ListWriter& w, std::string_view s) { w.text(s); }
inline void list_item(ListWriter& w, const char* s) { w.text(s); }
inline void list_item(ListWriter& w, const std::string& s) { w.text(s); }
inline void list_item(ListWriter& w, std::int32_t v) { w.integer(v); }
inline void list_item(ListWriter& w, double v) { w.real(v); }
template <class T>
void list_item(ListWriter&, T) = delete;  // no other item types
}  // namespace detail

// One list-directed write: one record (or more when the items overflow).
template <class... Items>
void write_list(int unit, const Items&... items) {
  ListWriter w(unit);
  (detail::list_item(w, items), ...);
  w.finish();
}

enum class ReadStatus { Ok, Error, EndOfFile };

// A variable of a list-directed read: a real, or a text of len characters.
struct ListVar {
  double* real = nullptr;
  char* text = nullptr;
  std::size_t len = 0;
};
inline ListVar var(double& d) { return {&d, nullptr, 0}; }
inline ListVar var(char& c) { return {nullptr, &c, 1}; }
inline ListVar var(std::span<char> s) { return {nullptr, s.data(), s.size()}; }

// With error and end-of-file branches: the status says what happened. After
// an error the variables already filled keep their new values.
ReadStatus try_read_list(int unit, std::span<const ListVar> vars);
// Without branches: an error or end of file raises the run-time error report.
void read_list(int unit, std::span<const ListVar> vars);

template <class... V>
ReadStatus try_read_list_of(int unit, V&... v) {
  const ListVar vars[] = {var(v)...};
  return try_read_list(unit, vars);
}
template <class... V>
void read_list_of(int unit, V&... v) {
  const ListVar vars[] = {var(v)...};
  read_list(unit, vars);
}

}  // namespace io
