// Where the title line, the panel and the status strip go in a terminal of a given size. The panel
// shows whenever it fits beside its title line; its frame comes next, and the strip takes the rows
// that remain.
#pragma once

#include <optional>

#include "terminal/cell_layout.h"

struct ScreenLayout {
  int panel_top = 0, panel_left = 0;  // the panel's first cell, row 0 being the title line
  bool framed = false;                // a border one cell around the panel
  int strip_top = 0, strip_rows = 0;  // the status strip's rows below the panel (0: no strip)
  int strip_width = 0;                // from the panel's left edge to a cell short of the terminal's
  int right_edge = 0;                 // the column after the panel and its frame
};

// The smallest terminal the panel fits: its title line and its cells, without a frame.
constexpr int kLeastScreenRows = 1 + kPanelRows;
constexpr int kLeastScreenColumns = kPanelColumns;

// Nothing when the panel does not fit `lines` x `columns`.
std::optional<ScreenLayout> layout_screen(int lines, int columns);
