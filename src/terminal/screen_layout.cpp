#include "terminal/screen_layout.h"

std::optional<ScreenLayout> layout_screen(int lines, int columns) {
  if (lines < kLeastScreenRows || columns < kLeastScreenColumns) {
    return std::nullopt;
  }
  ScreenLayout layout;
  layout.framed = lines >= kLeastScreenRows + 2 && columns >= kLeastScreenColumns + 2;
  const int frame = layout.framed ? 1 : 0;
  layout.panel_top = 1 + frame;
  layout.panel_left = frame;
  layout.strip_top = layout.panel_top + kPanelRows + frame;
  layout.strip_rows = lines - layout.strip_top;
  layout.strip_width = columns - layout.panel_left - 1;
  layout.right_edge = layout.panel_left + kPanelColumns + frame;
  return layout;
}
