#include "devices/shortcuts.h"

namespace {

constexpr LPARAM kDisplayOff = 2;
constexpr LPARAM kDisplayOn = -1;
constexpr DWORD kInputTime = 100;

void prepare_key(INPUT& record, WORD key) {
  record = {};
  record.type = INPUT_KEYBOARD;
  record.ki.wVk = key;
  record.ki.time = kInputTime;
  record.ki.dwFlags = 0;
}

}  // namespace

void toggle_display_power(ShortcutState& state, DialogPort& dialog) {
  dialog.SendMessageW(state.panel, WM_SYSCOMMAND, SC_MONITORPOWER, state.display_power_argument);
  state.display_power_argument = state.display_power_argument == kDisplayOff ? kDisplayOn : kDisplayOff;
}

void send_app_command(const ShortcutState& state, DialogPort& dialog, int app_command) {
  dialog.SendMessageW(state.panel, WM_APPCOMMAND, 0, static_cast<LPARAM>(app_command) * 65536);
}

void send_win_chord(ShortcutState& state, InputPort& input, WORD letter_key) {
  prepare_key(state.windows_key_input, VK_LWIN);
  prepare_key(state.letter_key_input, letter_key);
  input.SendInput(1, &state.windows_key_input, sizeof(INPUT));
  input.SendInput(1, &state.letter_key_input, sizeof(INPUT));
  state.letter_key_input.ki.dwFlags = KEYEVENTF_KEYUP;
  input.SendInput(1, &state.letter_key_input, sizeof(INPUT));
  state.windows_key_input.ki.dwFlags = KEYEVENTF_KEYUP;
  input.SendInput(1, &state.windows_key_input, sizeof(INPUT));
}
