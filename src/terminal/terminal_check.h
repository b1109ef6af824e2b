// Whether curses can draw the panel here: standard input and output on a terminal whose type can
// place the cursor. Without one the program would read end of file forever or draw garbage.
#pragma once

#include <string>

// Why the panel cannot run in this process's terminal; empty when it can.
std::string terminal_unusable_reason();
