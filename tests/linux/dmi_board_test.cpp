// Board identity from a DMI tree through the board identity query.
#include <gtest/gtest.h>

#include "identity/board_identity.h"
#include "linux/battery_figures.h"
#include "linux/dmi_board.h"
#include "panel/panel_state.h"
#include "sysfs_fixture.h"

namespace {

std::string narrow(const char16_t* text) {
  std::string out;
  for (; *text != 0; ++text) {
    out.push_back(static_cast<char>(*text));
  }
  return out;
}

TEST(DmiBoard, FillsTheStatusLineFieldsAndLeavesAnUnreadableSerialEmpty) {
  struct Case {
    const char* vendor;
    const char* name;
    const char* serial;  // nullptr: only root may read it, so the file is not there for us
    const char* expected_serial;
  };
  const Case cases[] = {
      {"LENOVO\n", "20XWCTO1WW\n", "L1HF1234567\n", "L1HF1234567"},
      {"Dell Inc.", "0K3CM7", nullptr, ""},
      {"ASUSTeK COMPUTER INC.\n", "UX425EA\n", "\xff\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SysfsFixture tree;
    tree.write("id/board_vendor", c.vendor);
    tree.write("id/board_name", c.name);
    if (c.serial != nullptr) {
      tree.write("id/board_serial", c.serial);
    }
    PosixSysfsFiles files;
    const auto wmi = dmi_wmi_port(files, tree.path("id"));
    PanelState state{};
    EXPECT_EQ(query_board_identity(state, *wmi), 0);
    EXPECT_EQ(narrow(state.board_manufacturer), printable_ascii(c.vendor));
    EXPECT_EQ(narrow(state.board_product), printable_ascii(c.name));
    EXPECT_EQ(narrow(state.board_serial_number), c.expected_serial);
  }
}

}  // namespace
