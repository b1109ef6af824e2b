#include "../../res/control_ids.h"
#include "panel/command_table.h"
#include "panel_fixture.h"
#include "text/wide_text.h"

namespace {

using PanelTest = PanelFixture;

TEST_F(PanelTest, InitialisationFillsStatusLineAndDelayDefaultsThenTicks) {
  copy_wide(state.board_manufacturer, u"Maker Inc.");
  copy_wide(state.board_product, u"Board 7");
  copy_wide(state.board_serial_number, u"SN123");
  EXPECT_EQ(panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0), TRUE);
  EXPECT_EQ(text(IDC_STATUS_LINE), "Maker Inc.\r\nBoard 7 SN123");
  EXPECT_EQ(dialog.text_order.front(), IDC_STATUS_LINE);
  const std::vector<int> delay_order = {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS};
  EXPECT_EQ(std::vector<int>(dialog.text_order.begin() + 1, dialog.text_order.begin() + 5), delay_order);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_DAYS], 0u);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_HOURS], 0u);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_MINUTES], 3u);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_SECONDS], 0u);
  EXPECT_EQ(dialog.timer_starts, 1);
  EXPECT_EQ(state.tick_counter, 0);  // the immediate tick ran the minute block
  EXPECT_FALSE(dialog.texts.count(IDC_NEVER_WRITTEN));
}

TEST_F(PanelTest, WithoutBoardIdentityTheStatusLineIsEmptyThenOneBlank) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_STATUS_LINE), "\r\n ");
}

TEST_F(PanelTest, InitialisationClearsTheOldIdentityTextsBeforeItsQuery) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  EXPECT_EQ(text(IDC_BATTERY_STATUS_GROUP), "Battery Status (CW-0001, LION)");
  battery.batteries[0].fail_open = true;
  handle_power_broadcast(state, ports);
  EXPECT_EQ(text(IDC_BATTERY_STATUS_GROUP), "Battery Status (N/A, )");
}

TEST_F(PanelTest, CommandTableRoutesEveryIdentifier) {
  const std::map<int, PanelAction> actions = {
      {1000, PanelAction::exit_program},    {1019, PanelAction::s1_session},
      {1021, PanelAction::sleep_test},      {1022, PanelAction::sleep_test},
      {1023, PanelAction::shut_down},       {1025, PanelAction::display_power},
      {1026, PanelAction::brightness_down}, {1027, PanelAction::brightness_up},
      {1028, PanelAction::volume_mute},     {1029, PanelAction::volume_down},
      {1030, PanelAction::volume_up},       {1031, PanelAction::win_x_chord},
      {1032, PanelAction::win_p_chord},     {1033, PanelAction::wireless_radio},
      {1037, PanelAction::wake_fields}};
  for (int id = -70000; id <= 70000; ++id) {
    auto found = actions.find(id);
    const PanelAction expected = found == actions.end() ? PanelAction::none : found->second;
    ASSERT_EQ(action_for_command(id), expected) << id;
  }
}

TEST_F(PanelTest, CommandsWithoutActionReturnFalseAndDoNothing) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  const size_t texts_before = dialog.text_order.size();
  for (WPARAM id : {1u, 2u, 999u, 1009u, 1018u, 1024u, 1036u, 1038u, 1043u}) {
    EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, id, 0), FALSE) << id;
  }
  EXPECT_EQ(dialog.text_order.size(), texts_before);
  EXPECT_TRUE(dialog.quit_codes.empty());
  EXPECT_EQ(panel_dialog_message(state, ports, 0x0200 /* WM_MOUSEMOVE */, 0, 0), FALSE);
}

TEST_F(PanelTest, ExitStopsTheTimerAndQuitsWithZeroWhateverTheNotification) {
  const WPARAM clicked_exit = (0u << 16) | 1000u;
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, clicked_exit, 0), TRUE);
  EXPECT_EQ(dialog.timer_stops, 1);
  EXPECT_EQ(dialog.quit_codes, std::vector<int>{0});
  // The notification code in the high word is not examined.
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, (0x0300u << 16) | 1000u, 0), TRUE);
  EXPECT_EQ(dialog.quit_codes.size(), 2u);
}

TEST_F(PanelTest, DestroyStopsTheTimerAndQuits) {
  EXPECT_EQ(panel_dialog_message(state, ports, WM_DESTROY, 0, 0), TRUE);
  EXPECT_EQ(dialog.timer_stops, 1);
  EXPECT_EQ(dialog.quit_codes, std::vector<int>{0});
}

TEST_F(PanelTest, WakeUpAfterEnablesAndDisablesTheFourDelayFields) {
  dialog.checked = BST_CHECKED;
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, IDC_WAKE_UP_AFTER, 0), TRUE);
  for (int id : {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS}) {
    EXPECT_TRUE(dialog.enabled[id]) << id;
  }
  dialog.checked = 0;
  panel_dialog_message(state, ports, WM_COMMAND, IDC_WAKE_UP_AFTER, 0);
  for (int id : {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS}) {
    EXPECT_FALSE(dialog.enabled[id]) << id;
  }
  EXPECT_EQ(dialog.enabled.size(), 4u);
}

TEST_F(PanelTest, PowerBroadcastReinitialisesButKeepsCheckBoxAndEnabledState) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  dialog.checked = BST_CHECKED;
  panel_dialog_message(state, ports, WM_COMMAND, IDC_WAKE_UP_AFTER, 0);
  dialog.numbers[IDC_WAKE_MINUTES] = 45;
  dialog.numbers[IDC_WAKE_DAYS] = 2;
  state.last_shown_drain = -77;
  ticks(10);

  set_capacity(40990);
  handle_power_broadcast(state, ports);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_MINUTES], 3u);
  EXPECT_EQ(dialog.numbers[IDC_WAKE_DAYS], 0u);
  EXPECT_TRUE(dialog.enabled[IDC_WAKE_MINUTES]);
  EXPECT_EQ(dialog.timer_starts, 2);
  EXPECT_EQ(state.tick_counter, 0);
  EXPECT_EQ(state.last_shown_drain, -77);
  // The immediate minute block covers only the change between the two queries of the initialisation.
  EXPECT_EQ(text(IDC_RATE_PER_MINUTE), "0 mW/min");
}

TEST_F(PanelTest, ABroadcastStormLeavesTheSameDefinedPanel) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  for (int i = 0; i < 100; ++i) {
    handle_power_broadcast(state, ports);
  }
  EXPECT_EQ(dialog.timer_starts, 101);
  EXPECT_EQ(state.tick_counter, 0);
  EXPECT_EQ(battery.open_handles, 0);
  EXPECT_EQ(battery.destroyed_sets, battery.created_sets);
}

}  // namespace

namespace {

TEST_F(PanelTest, DeviceButtonsReachTheirDevices) {
  panel_dialog_message(state, ports, WM_INITDIALOG, 0, 0);
  const size_t sent_before = dialog.sent.size();
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, IDC_DARK, 0), TRUE);
  EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, IDC_BRIGHT, 0), TRUE);
  ASSERT_EQ(lcd.sets.size(), 2u);
  EXPECT_EQ(lcd.sets[0].ucDCBrightness, 37);
  EXPECT_EQ(lcd.sets[1].ucDCBrightness, 50);

  for (int id : {IDC_DISPLAY_POWER, IDC_MUTE, IDC_VOLUME_DOWN, IDC_VOLUME_UP}) {
    EXPECT_EQ(panel_dialog_message(state, ports, WM_COMMAND, static_cast<WPARAM>(id), 0), TRUE);
  }
  ASSERT_EQ(dialog.sent.size(), sent_before + 4);
  EXPECT_EQ(dialog.sent[sent_before].message, 0x0112u);
  EXPECT_EQ(dialog.sent[sent_before + 3].lparam, 0x000A0000);

  panel_dialog_message(state, ports, WM_COMMAND, IDC_MOBILITY_CENTER, 0);
  panel_dialog_message(state, ports, WM_COMMAND, IDC_CONNECT_DISPLAY, 0);
  ASSERT_EQ(input.events.size(), 8u);
  EXPECT_EQ(input.events[1].ki.wVk, 0x58);
  EXPECT_EQ(input.events[5].ki.wVk, 0x50);

  panel_dialog_message(state, ports, WM_COMMAND, IDC_WIRELESS, 0);
  EXPECT_EQ(wlan.sets.size(), 3u);
}

TEST_F(PanelTest, DisplayPowerAlternationSurvivesReinitialisation) {
  panel_dialog_message(state, ports, WM_COMMAND, IDC_DISPLAY_POWER, 0);
  handle_power_broadcast(state, ports);
  panel_dialog_message(state, ports, WM_COMMAND, IDC_DISPLAY_POWER, 0);
  std::vector<LPARAM> arguments;
  for (const auto& sent : dialog.sent) {
    if (sent.message == 0x0112u) {
      arguments.push_back(sent.lparam);
    }
  }
  EXPECT_EQ(arguments, (std::vector<LPARAM>{2, -1}));
}

}  // namespace
