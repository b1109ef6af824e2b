#include "terminal/cell_layout.h"

namespace {

// Visible characters of a control text: '&' marks a mnemonic and is not shown.
int visible_length(const char16_t* text) {
  int length = 0;
  for (size_t i = 0; text[i] != 0; ++i) {
    if (text[i] == u'&' && text[i + 1] != 0) {
      ++i;
    }
    ++length;
  }
  return length;
}

CellRect area_of(const ControlTemplate& control) {
  const int column = column_of(control.x);
  const int columns = column_of(control.x + control.width) - column;
  if (control.kind == ControlKind::group_box) {
    // The frame lines lie on the rectangle's edges, the bottom and right ones included.
    const int row = row_of(control.y);
    return {row, column, row_of(control.y + control.height) - row + 1, columns + 1};
  }
  // Tall enough for two lines of text (8 units each) means a text of two rows: the status line.
  if (control.height >= 2 * kUnitsPerRow) {
    return {row_of(control.y), column, control.height / kUnitsPerRow, columns};
  }
  return {row_of(control.y + control.height / 2), column, 1, columns};
}

// Cells a group box actually draws on: its frame, not its inside.
bool frame_cell(const CellRect& area, int row, int column) {
  if (!area.contains(row, column)) {
    return false;
  }
  return row == area.row || row == area.row + area.rows - 1 || column == area.column ||
         column == area.column + area.columns - 1;
}

bool occupied(const PanelLayout& layout, size_t except, int row, int column) {
  if (column < 0 || column >= kPanelColumns) {
    return true;
  }
  for (size_t i = 0; i < kControlCount; ++i) {
    if (i == except) {
      continue;
    }
    const CellRect& drawn = layout[i].drawn;
    if (kPanelControls[i].kind == ControlKind::group_box ? frame_cell(drawn, row, column)
                                                         : drawn.contains(row, column)) {
      return true;
    }
  }
  return false;
}

// Cells a control's text needs: buttons "[text]" at least, the check box "[x] text", a label its text.
int wanted_columns(const ControlTemplate& control) {
  const int text = visible_length(control.text);
  switch (control.kind) {
    case ControlKind::push_button:
      return text + 2;
    case ControlKind::check_box:
      return text + 4;
    default:
      return text;
  }
}

bool may_widen(const ControlTemplate& control, const CellRect& area) {
  return control.kind == ControlKind::push_button || control.kind == ControlKind::check_box ||
         (control.kind == ControlKind::label && area.rows == 1);
}

}  // namespace

PanelLayout layout_panel() {
  PanelLayout layout{};
  for (size_t i = 0; i < kControlCount; ++i) {
    layout[i].area = area_of(kPanelControls[i]);
    layout[i].drawn = layout[i].area;
  }
  // Widen in template order, each claim visible to the next, so two controls never take one cell.
  // Labels widen only to the right, so that a column of them stays aligned.
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlTemplate& control = kPanelControls[i];
    if (!may_widen(control, layout[i].area)) {
      continue;
    }
    CellRect& drawn = layout[i].drawn;
    const int wanted = wanted_columns(control);
    while (drawn.columns < wanted && !occupied(layout, i, drawn.row, drawn.column + drawn.columns)) {
      ++drawn.columns;
    }
    while (control.kind != ControlKind::label && drawn.columns < wanted &&
           !occupied(layout, i, drawn.row, drawn.column - 1)) {
      --drawn.column;
      ++drawn.columns;
    }
  }
  return layout;
}

std::array<int, 2> first_overlap(const PanelLayout& layout) {
  for (size_t i = 0; i < kControlCount; ++i) {
    const CellRect& a = layout[i].drawn;
    for (int row = a.row; row < a.row + a.rows; ++row) {
      for (int column = a.column; column < a.column + a.columns; ++column) {
        const bool drawn_here =
            kPanelControls[i].kind != ControlKind::group_box || frame_cell(a, row, column);
        if (!drawn_here) {
          continue;
        }
        for (size_t j = i + 1; j < kControlCount; ++j) {
          const CellRect& b = layout[j].drawn;
          if (kPanelControls[j].kind == ControlKind::group_box ? frame_cell(b, row, column)
                                                               : b.contains(row, column)) {
            return {static_cast<int>(i), static_cast<int>(j)};
          }
        }
      }
    }
  }
  return {-1, -1};
}
