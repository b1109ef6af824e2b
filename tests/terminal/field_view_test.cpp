// An edit field too narrow for its text: the unknown rate "-2147483648 mW/hr" in 14 cells.
#include "terminal/field_view.h"

#include <gtest/gtest.h>

namespace {

struct ViewCase {
  const char* name;
  std::u16string text;
  bool focused;
  FieldView expected;
};

TEST(FieldView, ATextTooLongShowsItsStartOrWithTheFocusItsEndAndMarksTheCut) {
  const ViewCase cases[] = {
      {"fits", u"-12345 mW/hr", false, {u"-12345 mW/hr", false, false}},
      {"fits exactly", u"-1234567 mW/hr", true, {u"-1234567 mW/hr", false, false}},
      {"cut after", u"-2147483648 mW/hr", false, {u"-2147483648 mW", false, true}},
      {"focused: its end", u"-2147483648 mW/hr", true, {u"47483648 mW/hr", true, false}},
  };
  for (const ViewCase& c : cases) {
    const FieldView view = field_view(c.text, 14, c.focused);
    EXPECT_EQ(view.shown, c.expected.shown) << c.name;
    EXPECT_EQ(view.cut_before, c.expected.cut_before) << c.name;
    EXPECT_EQ(view.cut_after, c.expected.cut_after) << c.name;
  }
}

}  // namespace
