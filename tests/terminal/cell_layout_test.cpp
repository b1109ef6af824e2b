#include "terminal/cell_layout.h"

#include <gtest/gtest.h>

#include "../../res/control_ids.h"

namespace {

ControlCells cells_of(int id) {
  return layout_panel()[static_cast<size_t>(find_control(id) - kPanelControls)];
}

TEST(CellLayout, NoTwoControlsDrawOnTheSameCell) {
  const std::array<int, 2> overlap = first_overlap(layout_panel());
  EXPECT_EQ(overlap[0], -1) << "controls " << overlap[0] << " and " << overlap[1];
}

TEST(CellLayout, TheOverlapCheckFindsAnOverlap) {
  PanelLayout layout = layout_panel();
  const size_t exit_index = 0, status_line_index = 45;
  layout[exit_index].drawn.column = layout[status_line_index].drawn.column;
  layout[exit_index].drawn.row = layout[status_line_index].drawn.row;
  const std::array<int, 2> overlap = first_overlap(layout);
  EXPECT_EQ(overlap[0], 0);
  EXPECT_EQ(overlap[1], 45);
}

TEST(CellLayout, PanelFitsA100By45TerminalAndEverythingFitsInThePanel) {
  EXPECT_EQ(kPanelColumns, 81);
  EXPECT_EQ(kPanelRows, 34);
  for (const ControlCells& cells : layout_panel()) {
    EXPECT_GE(cells.drawn.column, 0);
    EXPECT_GE(cells.drawn.row, 0);
    EXPECT_LE(cells.drawn.column + cells.drawn.columns, kPanelColumns);
    EXPECT_LE(cells.drawn.row + cells.drawn.rows, kPanelRows);
  }
}

TEST(CellLayout, LabelsShareTheRowOfTheirFields) {
  // Rows of the two columns of "Battery Status": a label then its field.
  const int pairs[][2] = {{15, IDC_AC_ON_LINE},
                          {19, IDC_CHARGING},
                          {21, IDC_DISCHARGING},
                          {17, IDC_BATTERY_CRITICAL},
                          {43, IDC_VOLTAGE},
                          {11, IDC_DEFAULT_ALERT1},
                          {13, IDC_DEFAULT_ALERT2},
                          {41, IDC_DESIGN_CAPACITY},
                          {3, IDC_FULL_CHARGED_CAPACITY},
                          {5, IDC_REMAINING_CAPACITY},
                          {7, IDC_RATE},
                          {24, IDC_RATE_PER_MINUTE},
                          {1, IDC_LIFE_PERCENT},
                          {9, IDC_ESTIMATED_TIME}};
  const PanelLayout layout = layout_panel();
  for (const auto& pair : pairs) {
    EXPECT_EQ(layout[static_cast<size_t>(pair[0])].drawn.row, cells_of(pair[1]).drawn.row)
        << "label " << pair[0] << " and field " << pair[1];
  }
  // Seven distinct rows, top to bottom in the order the panel lists them.
  EXPECT_LT(cells_of(IDC_AC_ON_LINE).drawn.row, cells_of(IDC_CHARGING).drawn.row);
  EXPECT_LT(cells_of(IDC_VOLTAGE).drawn.row, cells_of(IDC_DEFAULT_ALERT1).drawn.row);
  EXPECT_LT(cells_of(IDC_DEFAULT_ALERT1).drawn.row, cells_of(IDC_DEFAULT_ALERT2).drawn.row);
}

TEST(CellLayout, ButtonsAndTheCheckBoxGetRoomForTheirBrackets) {
  const PanelLayout layout = layout_panel();
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlTemplate& control = kPanelControls[i];
    int text = 0;
    for (const char16_t* c = control.text; *c != 0; ++c) {
      text += *c == u'&' ? 0 : 1;
    }
    if (control.kind == ControlKind::push_button) {
      EXPECT_GE(layout[i].drawn.columns, text + 2) << i;  // "[text]"
    } else if (control.kind == ControlKind::check_box) {
      EXPECT_GE(layout[i].drawn.columns, text + 4) << i;  // "[x] text"
    }
  }
}

TEST(CellLayout, GroupsFrameTheirControls) {
  const CellRect status = cells_of(IDC_BATTERY_STATUS_GROUP).drawn;
  for (int id : {IDC_AC_ON_LINE, IDC_ESTIMATED_TIME, IDC_DEFAULT_ALERT2, IDC_LIFE_PERCENT}) {
    const CellRect field = cells_of(id).drawn;
    EXPECT_GT(field.row, status.row) << id;
    EXPECT_LT(field.row, status.row + status.rows - 1) << id;
    EXPECT_GT(field.column, status.column) << id;
    EXPECT_LT(field.column + field.columns, status.column + status.columns) << id;
  }
}

}  // namespace
