#include "device_button_checks.h"

#include <windows.h>

#include "control_ids.h"
#include "panel_run.h"
#include "window_access.h"

namespace {

struct DeviceButton {
  int id;
  const char* caption;
};

// In the order pressed, each with what Wine makes of it.
constexpr DeviceButton kPresses[] = {
    {IDC_DARK, "Dark"},                        // no \\.\LCD: the press ends at the open
    {IDC_BRIGHT, "Bright"},                    // likewise
    {IDC_WIRELESS, "Wireless"},                // Native Wi-Fi lists no interface
    {IDC_MUTE, "Mute"},                        // the app commands end in DefWindowProc
    {IDC_VOLUME_DOWN, "<<"},                   // likewise
    {IDC_VOLUME_UP, ">>"},                     // likewise
    {IDC_DISPLAY_POWER, "X"},                  // display off: Wine does nothing with it
    {IDC_DISPLAY_POWER, "X"},                  // display on
    {IDC_CONNECT_DISPLAY, "Connect Display"},  // Windows+P: no shortcut, no mnemonic
};

void press(CheckLog& log, PanelRun& run, int id, const std::string& caption, const std::string& name) {
  const std::string shown = run.text(id);
  log.expect(shown == caption, "launch 5: button " + std::to_string(id) + " reads " + quoted(caption),
             quoted(shown));
  log.expect(send_message(run.control(id), BM_CLICK, 0, 0), "launch 5: " + name + " returns");
}

}  // namespace

void check_device_buttons(CheckLog& log, const std::wstring& exe) {
  PanelRun run(log, exe, "launch 5");
  if (!run.ready()) {
    return;
  }
  int count = 0;
  for (const DeviceButton& button : kPresses) {
    const std::string name = quoted(button.caption) + " (press " + std::to_string(++count) + ")";
    press(log, run, button.id, button.caption, name);
    run.expect_responsive(name);
    if (!run.program().running()) {
      return;
    }
  }
  log.expect(IsWindowVisible(run.host()) && IsWindowVisible(run.panel()),
             "launch 5: host and panel still shown after the display was turned off and on");

  // The chord releases what it pressed, or Windows stays held for every key the user types next.
  log.expect((GetAsyncKeyState(VK_LWIN) & 0x8000) == 0 && (GetAsyncKeyState('P') & 0x8000) == 0,
             "launch 5: after \"Connect Display\" neither Windows nor P is held down");

  // Wine has no shell to take Windows+X, so its "x" reaches the focused control, which the click
  // made the "Mobility Center" button; on a push button "x" is the mnemonic of "E&xit".
  press(log, run, IDC_MOBILITY_CENTER, "Mobility Center", "\"Mobility Center\" (press 10)");
  run.expect_exit_code_zero("\"Mobility Center\" (under Wine the \"x\" of Windows+X clicks E&xit)");
  log.expect((GetAsyncKeyState(VK_LWIN) & 0x8000) == 0 && (GetAsyncKeyState('X') & 0x8000) == 0,
             "launch 5: after \"Mobility Center\" neither Windows nor X is held down");
}
