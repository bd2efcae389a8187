// The three-way menu that both programs show on the console: 1 run,
// 2 change (the horoscope, or the limits), 3 stop with "TERMINATED BY USER".
#pragma once

#include <string_view>

namespace io {

// change_line: the text of the second choice, e.g. "        2: CHANGE LIMITS".
// answer: the program's answer character; it receives the first character of
// each line read (a blank for an empty line). Returns 1 or 2; on 3 it stops.
// A wrong answer shows " WRONG SELECTION - MUST BE 1, 2 or 3" and the prompt
// again. End of console input ends with the run-time error report.
int three_way_menu(std::string_view change_line, char& answer);

}  // namespace io
