// Units: the console and numbered files, opened by name in the working
// directory, read and written record by record.
//
// Files: every record ends with CR LF. Records are buffered for speed and
// reach the file on close, on every stop, error report, floating-point trap
// and on SIGINT/SIGTERM/SIGHUP; nothing written before the program ends is
// lost. On reading, a record ends at LF and a CR before the LF is dropped.
//
// Console: a record is shown without its first character (the carriage
// control blank), followed by a line break. On a terminal every record is
// shown at once. Into a file or a pipe the records go in blocks: flushed
// before every read of the console, when 0.2 s have passed since the last
// block and another record is written, and at every way out.
#pragma once

#include <cstddef>
#include <string_view>

namespace io {

// Unit number of the console: reads take standard input, writes standard output.
inline constexpr int console = 0;
// Highest numbered unit (units 1 .. max_unit may be bound to files).
inline constexpr int max_unit = 9;

enum class OpenMode {
  Replace,      // delete an existing file, create it empty
  Old,          // the file must exist
  Unspecified   // open an existing file, or create an empty one
};

// Open without an error branch: a failure raises the run-time error report.
void open(int unit, std::string_view name, OpenMode mode);
// Open with an error branch: returns false on failure, nothing reported.
bool try_open(int unit, std::string_view name, OpenMode mode);
// Close a numbered unit; the file stays. Closing a unit that is not open does nothing.
void close(int unit);
bool is_open(int unit);
// The file name of an open unit, "console" for unit 0.
std::string_view unit_name(int unit);

// Write one record (its first character is the carriage-control blank).
void write_record(int unit, std::string_view record);

// Read the next record of a unit into `record` (valid until the next read of
// that unit). Returns false at the end of the file. The console is flushed first.
bool read_record(int unit, std::string_view& record);
// 1-based number of the record last read from the unit (0 before the first).
long record_number(int unit);

// Write out every buffered record of every unit (console included).
void flush_all();

// Bind the console to other descriptors (tests); -1 keeps the current one.
void bind_console(int in_fd, int out_fd);
// Close every numbered unit and restore the console to descriptors 0 and 1,
// dropping buffered console input (tests).
void reset_units();

}  // namespace io
