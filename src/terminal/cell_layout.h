// Where each template control lands on the character grid. Down, a cell is eight dialog units.
// Across, a quarter of a cell per unit would cut labels such as "Battery Critical": the template's
// proportional font fits them, a terminal's fixed cells do not. 3.6 units a cell fits every text.
#pragma once

#include <array>

#include "panel/dialog_template.h"

constexpr int kUnitsPerFiveColumns = 18;
constexpr int kUnitsPerRow = 8;

// Dialog units to the nearest column or row.
constexpr int column_of(int x) {
  return (x * 5 + kUnitsPerFiveColumns / 2) / kUnitsPerFiveColumns;
}
constexpr int row_of(int y) {
  return (y + kUnitsPerRow / 2) / kUnitsPerRow;
}

constexpr int kPanelColumns = column_of(kPanelWidth);
constexpr int kPanelRows = row_of(kPanelHeight);

struct CellRect {
  int row, column, rows, columns;
  bool contains(int r, int c) const {
    return r >= row && r < row + rows && c >= column && c < column + columns;
  }
};

struct ControlCells {
  CellRect area;   // the rectangle rounded to cells: what the control owns
  CellRect drawn;  // where it draws: widened into free neighbouring cells when its text needs them
};

using PanelLayout = std::array<ControlCells, kControlCount>;

// A group box's frame lines take its area's border cells; every other control is one text row
// (the status line two), placed at its rectangle's vertical middle.
PanelLayout layout_panel();

// The first pair of controls whose drawings overlap (a group box counts with its frame lines only),
// or {-1, -1}: the layout test and the program's start check this.
std::array<int, 2> first_overlap(const PanelLayout& layout);
