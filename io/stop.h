// Stops and run-time error reports: the one way the programs end.
//
// Library code never exits. It raises an io::Stop (a C++ exception); the
// program's entry point, io::run_program(), shows it, makes sure every record
// written so far is in its file, and returns the exit status. Tests call the
// routines in-process and catch the Stop.
#pragma once

#include <string>
#include <string_view>

namespace io {

struct Stop {
  enum class Kind {
    Message,  // stop with a message: the text on standard output, status 0
    Plain,    // plain stop: "Stop - Program terminated.", status 0
    Error     // run-time or floating-point error report on standard error, status 1
  };
  Kind kind;
  std::string text;  // Message: the message; Error: the report lines; Plain: empty
  int exit_status() const { return kind == Kind::Error ? 1 : 0; }
};

// Stop with a message, shown character for character (leading blanks too).
[[noreturn]] void stop(std::string_view message);
// The plain stop.
[[noreturn]] void stop();

// Run-time error numbers: the four digits after "F" in a report. The
// description printed after "- " is the fixed text of the number, then, when a
// detail is given, ": " and the detail (line numbers, the offending field).
//
//   F1001 OPEN   file not found                 (opening in old mode)
//   F1002 OPEN   cannot open or create the file (system reason as detail)
//   F1003 any    unit is not open
//   F2001 READ   end of file
//   F2002 READ   not a number
//   F2003 READ   number out of range
//   F2004 READ   bad text value
//   F2005 READ   more records than the program has room for
//   F3001 WRITE  write failed                   (system reason as detail)
//   F4001 CLOSE  close failed
//   F5001 WRITE  more values than the format has descriptors (program fault)
//
// Floating-point traps report "M" numbers with ": MATH":
//   M6001 divide by zero, M6002 invalid, M6003 overflow, M6004 integer divide
//   by zero, M6005 other arithmetic fault.
enum class Fault : int {
  FileNotFound = 1001,
  CannotOpen = 1002,
  UnitNotOpen = 1003,
  EndOfFile = 2001,
  BadNumber = 2002,
  NumberRange = 2003,
  BadText = 2004,
  Capacity = 2005,
  WriteFailed = 3001,
  CloseFailed = 4001,
  FormatMismatch = 5001,
};

enum class Statement { Open, Read, Write, Close };

// Raise the run-time error report for a failed statement on the named file.
[[noreturn]] void fail(Fault fault, Statement statement, std::string_view file_name,
                       std::string_view detail = {});

// The report text of fail(), without the leading line break (for tests).
std::string fault_report(Fault fault, Statement statement, std::string_view file_name,
                         std::string_view detail = {});

// Program entry: enables the floating-point traps (divide by zero, invalid,
// overflow), routes SIGINT/SIGTERM/SIGHUP so that written records survive,
// runs body, shows how it ended and returns the exit status for main().
// A body that returns normally counts as a plain stop.
int run_program(void (*body)());

}  // namespace io
