// The log viewer's document and its scrolling, without a terminal.
#include "terminal/text_viewer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string numbered_lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::to_string(i) + "\r\n";
  }
  return text;
}

TEST(TextViewerTest, SplitsLinesAndExpandsTabs) {
  TextViewer viewer;
  viewer.show(u"a.txt", "a\tb\r\n12345678\tc\nlast\rx", false);
  ASSERT_EQ(viewer.lines().size(), 4u);
  EXPECT_EQ(viewer.lines()[0], u"a       b");
  EXPECT_EQ(viewer.lines()[1], u"12345678        c");
  EXPECT_EQ(viewer.lines()[2], u"last");
  EXPECT_EQ(viewer.lines()[3], u"x");
  EXPECT_EQ(viewer.line_ends(), u"Windows (CRLF)");

  viewer.show(u"b.txt", "unix\n\x80\x01", false);
  EXPECT_EQ(viewer.line_ends(), u"Unix (LF)");
  EXPECT_EQ(viewer.lines()[1], u"\u20AC?");  // Windows-1252, and a control character made visible
}

TEST(TextViewerTest, ScrollingStaysWithinTheDocument) {
  TextViewer viewer;
  viewer.show(u"long.txt", numbered_lines(100), false);
  ASSERT_EQ(viewer.lines().size(), 100u);
  viewer.set_page(10, 40);
  viewer.scroll_pages(+1);
  EXPECT_EQ(viewer.top_line(), 9u);  // a page keeps one line of the last in view
  viewer.scroll_to_end();
  EXPECT_EQ(viewer.top_line(), 90u);
  viewer.scroll_lines(+5);
  EXPECT_EQ(viewer.top_line(), 90u);
  viewer.scroll_pages(-100);
  EXPECT_EQ(viewer.top_line(), 0u);
  viewer.scroll_columns(+3);
  EXPECT_EQ(viewer.left_column(), 0u);  // nothing wider than the page

  viewer.set_page(200, 40);  // a taller window shows it all from the top
  viewer.scroll_lines(+1);
  EXPECT_EQ(viewer.top_line(), 0u);
}

}  // namespace
