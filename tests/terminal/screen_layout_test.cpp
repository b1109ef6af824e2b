// Where the panel and the strip go in terminals of the sizes users have.
#include "terminal/screen_layout.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
  int lines, columns;
  bool fits, framed;
  int strip_rows;
};

TEST(ScreenLayout, ThePanelShowsWheneverItFitsAndTheStripTakesTheRowsLeft) {
  const SizeCase cases[] = {
      {38, 100, true, true, 1},   // a laptop's 100 x 38 window: one strip row under the framed panel
      {45, 100, true, true, 8},   //
      {37, 83, true, true, 0},    // the frame, and no strip
      {36, 100, true, false, 1},  // the frame gives way before the panel does
      {40, 82, true, false, 5},   //
      {35, 81, true, false, 0},   // the title line and the panel, nothing else
      {34, 100, false, false, 0}, {50, 80, false, false, 0},
  };
  for (const SizeCase& c : cases) {
    const std::string size = std::to_string(c.columns) + " x " + std::to_string(c.lines);
    const std::optional<ScreenLayout> layout = layout_screen(c.lines, c.columns);
    ASSERT_EQ(layout.has_value(), c.fits) << size;
    if (!layout) {
      continue;
    }
    EXPECT_EQ(layout->framed, c.framed) << size;
    EXPECT_EQ(layout->strip_rows, c.strip_rows) << size;
    const int frame = c.framed ? 1 : 0;
    EXPECT_GT(layout->panel_top - frame, 0) << size << ": below the title line";
    EXPECT_GE(layout->panel_left - frame, 0) << size;
    EXPECT_EQ(layout->strip_top, layout->panel_top + kPanelRows + frame) << size;
    EXPECT_EQ(layout->strip_top + layout->strip_rows, c.lines) << size;
    EXPECT_LE(layout->right_edge, c.columns) << size;
    EXPECT_EQ(layout->panel_left + layout->strip_width, c.columns - 1) << size;
  }
}

}  // namespace
