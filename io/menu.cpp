#include "io/menu.h"

#include <string>

#include "io/format.h"
#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"

namespace io {

int three_way_menu(std::string_view change_line, char& answer) {
  static const Format kAnswer("(A)");
  write_list(console, std::string(9, ' '));
  write_list(console, std::string(23, '/') + std::string(23, '\\'));
  write_list(console, "        1: RUN   ");
  write_list(console, change_line);
  write_list(console, "        3: EXIT ");
  for (;;) {
    write_list(console, " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>");
    const FmtVar var[] = {fvar(answer)};
    read_fmt(console, kAnswer, var);
    if (answer == '1' || answer == '2' || answer == '3') break;
    write_list(console, " WRONG SELECTION - MUST BE 1, 2 or 3");
  }
  const int selection = answer - '0';
  if (selection == 3) stop("TERMINATED BY USER");
  return selection;
}

}  // namespace io
