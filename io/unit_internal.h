// Internals shared by the text layer's own files (not for other code).
#pragma once

#include <string>

namespace io::internal {

// Write out every complete record of every unit with plain write(2) calls;
// safe inside a signal handler.
void flush_all_signal_safe();

// Flush and close every unit at a way out of the program. Returns an error
// report text when a write fails, else an empty string. Never throws.
std::string close_all_at_exit();

}  // namespace io::internal
