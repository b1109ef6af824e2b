#include <gtest/gtest.h>

#include <cstring>

#include "devices/shortcuts.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_input_port.h"
#include "panel/panel_state.h"

namespace {

class ShortcutsTest : public ::testing::Test {
 protected:
  FakeDialogPort dialog;
  FakeInputPort input;
  PanelState state;
};

TEST_F(ShortcutsTest, DisplayPowerAlternatesOffAndOnFromTheFirstPress) {
  for (int press = 0; press < 3; ++press) {
    toggle_display_power(state, dialog);
  }
  ASSERT_EQ(dialog.sent.size(), 3u);
  const LPARAM expected[] = {2, -1, 2};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dialog.sent[i].message, 0x0112u);
    EXPECT_EQ(dialog.sent[i].wparam, 0xF170u);
    EXPECT_EQ(dialog.sent[i].lparam, expected[i]);
  }
  EXPECT_EQ(state.display_power_argument, -1);
}

TEST_F(ShortcutsTest, VolumeCommandsGoInTheHighWord) {
  send_app_command(state, dialog, kAppCommandVolumeMute);
  send_app_command(state, dialog, kAppCommandVolumeDown);
  send_app_command(state, dialog, kAppCommandVolumeUp);
  const LPARAM expected[] = {0x00080000, 0x00090000, 0x000A0000};
  ASSERT_EQ(dialog.sent.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dialog.sent[i].message, 0x0319u);
    EXPECT_EQ(dialog.sent[i].wparam, 0u);
    EXPECT_EQ(dialog.sent[i].lparam, expected[i]);
  }
}

TEST_F(ShortcutsTest, ChordsInjectFourExactEventsEveryPress) {
  state.windows_key_input.ki.wScan = 77;  // leftovers that a press must not carry
  state.letter_key_input.ki.dwExtraInfo = 5;
  send_win_chord(state, input, kKeyX);
  send_win_chord(state, input, kKeyP);
  send_win_chord(state, input, kKeyX);
  ASSERT_EQ(input.events.size(), 12u);
  const struct {
    WORD key;
    DWORD flags;
  } order[] = {{0x5B, 0}, {0, 0}, {0, 2}, {0x5B, 2}};
  const WORD letters[] = {0x58, 0x50, 0x58};
  for (size_t i = 0; i < input.events.size(); ++i) {
    INPUT expected = {};
    expected.type = 1;
    expected.ki.wVk = order[i % 4].key != 0 ? order[i % 4].key : letters[i / 4];
    expected.ki.dwFlags = order[i % 4].flags;
    expected.ki.time = 100;
    EXPECT_EQ(std::memcmp(&input.events[i], &expected, sizeof(INPUT)), 0) << "event " << i;
  }
  for (int size : input.sizes) {
    EXPECT_EQ(size, static_cast<int>(sizeof(INPUT)));
  }
}

}  // namespace
