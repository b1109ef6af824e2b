#include <gtest/gtest.h>

#include <set>

#include "../../res/control_ids.h"
#include "panel/dialog_template.h"

namespace {

TEST(DialogTemplateTest, HoldsTheFiftySixControlsWithDistinctAddressedIds) {
  std::set<int> ids;
  int unaddressed = 0;
  for (const ControlTemplate& control : kPanelControls) {
    if (control.id == -1) {
      ++unaddressed;
    } else {
      EXPECT_TRUE(ids.insert(control.id).second) << control.id;
    }
    EXPECT_GE(control.x, 0);
    EXPECT_LE(control.x + control.width, kPanelWidth) << control.id;
    EXPECT_LE(control.y + control.height, kPanelHeight) << control.id;
  }
  EXPECT_EQ(ids.size() + static_cast<size_t>(unaddressed), kControlCount);
  EXPECT_EQ(kPanelControls[0].id, IDC_EXIT);  // first tab stop: the focus at creation
}

TEST(DialogTemplateTest, KindsCarryTheirFixedStyles) {
  EXPECT_EQ(styles_of(ControlKind::push_button).style, 0x50010000u);
  EXPECT_EQ(styles_of(ControlKind::check_box).style, 0x50010003u);
  EXPECT_EQ(styles_of(ControlKind::group_box).style, 0x50000007u);
  EXPECT_EQ(styles_of(ControlKind::label).style, 0x50020000u);
  EXPECT_EQ(styles_of(ControlKind::read_only_field).style, 0x50810880u);
  EXPECT_EQ(styles_of(ControlKind::delay_field).style, 0x58812000u);
  EXPECT_EQ(styles_of(ControlKind::delay_field).ex_style, 0x1000u);
  EXPECT_EQ(find_control(IDC_WAKE_UP_AFTER)->kind, ControlKind::check_box);
  EXPECT_EQ(find_control(IDC_STATUS_LINE)->kind, ControlKind::label);
  EXPECT_EQ(find_control(9999), nullptr);
}

}  // namespace
