#include "terminal/terminal_check.h"

#include <curses.h>
#include <term.h>
#include <unistd.h>

#include <cstdlib>

std::string terminal_unusable_reason() {
  if (isatty(STDIN_FILENO) == 0) {
    return "needs a terminal; standard input is not one";
  }
  if (isatty(STDOUT_FILENO) == 0) {
    return "needs a terminal; standard output is not one";
  }
  const char* type = std::getenv("TERM");
  if (type == nullptr || *type == '\0') {
    return "needs a terminal; TERM is not set";
  }
  int found = 0;
  if (setupterm(type, STDOUT_FILENO, &found) != OK) {
    return std::string("needs a terminal; the terminal type \"") + type + "\" is unknown";
  }
  const char* cup_sequence = tigetstr("cup");
  const bool can_place_cursor = cup_sequence != nullptr && cup_sequence != reinterpret_cast<char*>(-1);
  del_curterm(cur_term);  // curses sets its terminal up again when it starts
  if (!can_place_cursor) {
    return std::string("needs a terminal that can place the cursor; the terminal type \"") + type +
           "\" cannot";
  }
  return {};
}
