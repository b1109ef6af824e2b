// Starts Chargewright.exe and checks it from outside through window messages, as a user's
// tools would see it: the clock title, the 56 controls, the no-battery texts Wine gives, the board
// identity, the wake delay fields, the keys the dialog manager turns into commands, the three ways
// out, an S1 logging session with its log file and Notepad, the device buttons, and the S3 and S4
// tests, whose suspend Wine only pretends to do.
//
//   panel_driver.exe PATH\Chargewright.exe [--wait-for FILE]
//
// With --wait-for, the driver stops once the first panel is checked and goes on when FILE exists,
// so that a screenshot can be taken. Exit code 0 only when every check passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "check_log.h"
#include "control_ids.h"
#include "device_button_checks.h"
#include "driver_arguments.h"
#include "panel/dialog_template.h"
#include "panel_run.h"
#include "s1_session_checks.h"
#include "sleep_run_checks.h"
#include "window_access.h"

namespace {

std::string utf8_of(const char16_t* text) {
  std::string result;
  for (; *text != 0; ++text) {
    result += *text < 0x80 ? static_cast<char>(*text) : '?';
  }
  return result;
}

int seconds_apart(int a, int b) {
  const int apart = a > b ? a - b : b - a;
  return apart > 43200 ? 86400 - apart : apart;  // across midnight
}

void post_key(HWND window, WPARAM key, UINT scan_code) {
  const LPARAM down = static_cast<LPARAM>(1 | (scan_code << 16));
  const LPARAM up = static_cast<LPARAM>(1u | (scan_code << 16) | 0xC0000000u);
  PostMessageW(window, WM_KEYDOWN, key, down);
  PostMessageW(window, WM_KEYUP, key, up);
}

bool button_checked(HWND button) {
  LRESULT state = 0;
  return send_message(button, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

void check_clock_title(CheckLog& log, const PanelRun& run) {
  const std::string title = window_text(run.host());
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int shown = clock_title_seconds(title);
  log.expect(shown >= 0, "title has the form \"Chargewright - HH:MM:SS\"", quoted(title));
  const int local = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
  log.expect(shown >= 0 && seconds_apart(shown, local) <= 5, "title shows the local time", quoted(title));
  Sleep(2100);
  const std::string later = window_text(run.host());
  log.expect(clock_title_seconds(later) >= 0 && later != title, "title clock ticks",
             quoted(title) + " then " + quoted(later));
}

void check_geometry(CheckLog& log, const PanelRun& run) {
  RECT panel_rect, client;
  GetWindowRect(run.panel(), &panel_rect);
  GetClientRect(run.host(), &client);
  // The dialog manager puts the client area of a template at 0,0 where the template says 0,0; the
  // panel's border lies just outside the host's client area.
  POINT origin = {0, 0};
  ClientToScreen(run.panel(), &origin);
  ScreenToClient(run.host(), &origin);
  log.expect(origin.x == 0 && origin.y == 0, "panel's client area starts at 0,0 of the host's client area",
             std::to_string(origin.x) + "," + std::to_string(origin.y));
  const LONG width = panel_rect.right - panel_rect.left, height = panel_rect.bottom - panel_rect.top;
  log.expect(client.right == width && client.bottom == height, "host client area equals the panel's size",
             "client " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + ", panel " +
                 std::to_string(width) + "x" + std::to_string(height));
  const LONG style = GetWindowLongW(run.host(), GWL_STYLE);
  log.expect(
      (style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) &&
          (style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0,
      "host has caption, close and minimise boxes, no maximise box or sizing border");
}

// What the panel shows where Wine has no battery: the query fails on the empty device path, so
// every number stays 0 and both texts read "N/A".
const std::map<int, std::string>& no_battery_texts() {
  static const std::map<int, std::string> texts = {
      {IDC_AC_ON_LINE, "FALSE"},
      {IDC_BATTERY_CRITICAL, "FALSE"},
      {IDC_CHARGING, "FALSE"},
      {IDC_DISCHARGING, "FALSE"},
      {IDC_BATTERY_STATUS_GROUP, "Battery Status (N/A, )"},
      {IDC_VOLTAGE, "0 mV"},
      {IDC_DESIGN_CAPACITY, "0 mW"},
      {IDC_FULL_CHARGED_CAPACITY, "0 mW"},
      {IDC_DEFAULT_ALERT1, "0 mW"},
      {IDC_DEFAULT_ALERT2, "0 mW"},
      {IDC_REMAINING_CAPACITY, "0 mW"},
      {IDC_RATE, "0 mW/hr"},
      {IDC_LIFE_PERCENT, "N/A %"},  // full-charged capacity 0: no percentage
      {IDC_RATE_PER_MINUTE, "0 mW/min"},
      {IDC_ESTIMATED_TIME, ""},  // no drain, so no estimate
      {IDC_WAKE_DAYS, "0"},
      {IDC_WAKE_HOURS, "0"},
      {IDC_WAKE_MINUTES, "3"},
      {IDC_WAKE_SECONDS, "0"},
  };
  return texts;
}

// What Wine 8's WMI reports for Win32_BaseBoard on a machine without DMI tables.
constexpr char kWine8BoardIdentity[] = "Intel Corporation\r\nBase Board None";

// The board identity fills the status line as "manufacturer\r\nproduct serial". Another Wine, or
// Windows, may report another board; the shape is what the program decides.
void check_board_identity(CheckLog& log, const PanelRun& run) {
  const std::string status = run.text(IDC_STATUS_LINE);
  const size_t line_break = status.find("\r\n");
  const bool two_lines =
      line_break != std::string::npos && status.find("\r\n", line_break + 2) == std::string::npos;
  log.expect(two_lines && line_break > 0 && status.find(' ', line_break) != std::string::npos,
             "status line 1018 holds the board identity: manufacturer, line break, product and serial",
             quoted(status));
  if (status == kWine8BoardIdentity) {
    std::printf("     (status line shows Wine 8's board identity %s)\n", quoted(status).c_str());
  } else {
    std::printf("     (status line shows %s, not Wine 8's %s)\n", quoted(status).c_str(),
                quoted(kWine8BoardIdentity).c_str());
  }
}

void check_controls(CheckLog& log, const PanelRun& run) {
  const auto children = child_windows(run.panel());
  log.expect(children.size() == kControlCount, "panel has 56 controls", std::to_string(children.size()));
  int order_faults = 0, class_faults = 0, text_faults = 0;
  std::string first_fault;
  auto note = [&first_fault](const std::string& fault) {
    if (first_fault.empty()) {
      first_fault = fault;
    }
  };
  for (size_t i = 0; i < children.size() && i < kControlCount; ++i) {
    const ControlTemplate& expected = kPanelControls[i];
    const int id = GetDlgCtrlID(children[i]);
    const std::string where = "control #" + std::to_string(i) + " (id " + std::to_string(expected.id) + ")";
    if (id != expected.id) {
      ++order_faults;
      note(where + " has id " + std::to_string(id));
    }
    const std::string window_class_name = window_class(children[i]);
    if (lstrcmpiA(window_class_name.c_str(), styles_of(expected.kind).window_class) != 0) {
      ++class_faults;
      note(where + " has class " + window_class_name);
    }
    const bool filled_by_panel = expected.id == IDC_STATUS_LINE || no_battery_texts().count(expected.id) != 0;
    const std::string shown = window_text(children[i]);
    if (!filled_by_panel && shown != utf8_of(expected.text)) {
      ++text_faults;
      note(where + " reads " + quoted(shown));
    }
  }
  log.expect(order_faults == 0, "controls have the template's ids in creation order", first_fault);
  log.expect(class_faults == 0, "controls have the template's classes", first_fault);
  log.expect(text_faults == 0, "controls the panel does not fill keep the template's texts", first_fault);

  for (const auto& [id, text] : no_battery_texts()) {
    const std::string shown = run.text(id);
    log.expect(shown == text, "control " + std::to_string(id) + " reads " + quoted(text), quoted(shown));
  }
  check_board_identity(log, run);
  log.expect(run.text(IDC_NEVER_WRITTEN).empty(), "control 1024 stays empty");
}

const int kDelayFields[] = {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS};

int enabled_delay_fields(const PanelRun& run) {
  int enabled = 0;
  for (int id : kDelayFields) {
    enabled += IsWindowEnabled(run.control(id)) ? 1 : 0;
  }
  return enabled;
}

void check_keys_without_action(CheckLog& log, PanelRun& run) {
  send_message(run.host(), WM_COMMAND, IDC_EXIT, 0);
  run.expect_still_up("WM_COMMAND 1000 sent to the host, not the panel");

  // Away from the push buttons Enter becomes command 1 and Escape command 2: no actions.
  const HWND field = run.control(IDC_LIFE_PERCENT);
  send_message(run.panel(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  log.expect(focused_window(run.program().ui_thread_id()) == field, "focus moves to read-only field 1007");
  post_key(field, VK_RETURN, 0x1C);
  run.expect_still_up("Enter");
  post_key(field, VK_ESCAPE, 0x01);
  run.expect_still_up("Escape");
}

void check_wake_fields(CheckLog& log, PanelRun& run) {
  log.expect(enabled_delay_fields(run) == 0, "the four delay fields start disabled");
  const HWND check_box = run.control(IDC_WAKE_UP_AFTER);
  send_message(check_box, BM_CLICK, 0, 0);
  log.expect(button_checked(check_box) && enabled_delay_fields(run) == 4,
             "clicking \"Wake up after\" checks it and enables the delay fields",
             std::to_string(enabled_delay_fields(run)) + " enabled");

  // A power broadcast re-initialises the panel: the typed delay goes back to the default, while
  // the check box and the enabled fields stay as they were.
  send_message(run.control(IDC_WAKE_MINUTES), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"7"));
  LRESULT answer = 0;
  send_message(run.host(), WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0, &answer);
  log.expect(answer == TRUE, "host answers WM_POWERBROADCAST with TRUE");
  log.expect(run.text(IDC_WAKE_MINUTES) == "3", "a power broadcast resets the minutes field to 3",
             quoted(run.text(IDC_WAKE_MINUTES)));
  log.expect(button_checked(check_box) && enabled_delay_fields(run) == 4,
             "a power broadcast keeps the check box and the enabled fields");

  send_message(check_box, BM_CLICK, 0, 0);
  log.expect(!button_checked(check_box) && enabled_delay_fields(run) == 0,
             "a second click clears the box and disables the delay fields",
             std::to_string(enabled_delay_fields(run)) + " enabled");
}

void run_first_launch(CheckLog& log, const std::wstring& exe, const std::wstring& wait_for) {
  PanelRun run(log, exe, "launch 1");
  if (!run.ready()) {
    return;
  }
  log.expect(focused_window(run.program().ui_thread_id()) == run.control(IDC_EXIT),
             "the Exit button has the focus at start");
  check_clock_title(log, run);
  check_geometry(log, run);
  check_controls(log, run);
  if (!wait_for.empty()) {
    pause_for_screenshot(wait_for);
  }
  check_keys_without_action(log, run);
  check_wake_fields(log, run);
  send_message(run.control(IDC_EXIT), BM_CLICK, 0, 0);
  run.expect_exit_code_zero("clicking Exit");
}

void run_close_box_launch(CheckLog& log, const std::wstring& exe) {
  PanelRun run(log, exe, "launch 2");
  if (!run.ready()) {
    return;
  }
  PostMessageW(run.host(), WM_SYSCOMMAND, SC_CLOSE, 0);
  run.expect_exit_code_zero("the close box (SC_CLOSE)");
}

void run_enter_on_exit_launch(CheckLog& log, const std::wstring& exe) {
  PanelRun run(log, exe, "launch 3");
  if (!run.ready()) {
    return;
  }
  // Enter on a push button that the dialog manager gave the focus (as Tab does) clicks it.
  const HWND exit_button = run.control(IDC_EXIT);
  send_message(run.panel(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.control(IDC_WAKE_UP_AFTER)), TRUE);
  send_message(run.panel(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(exit_button), TRUE);
  log.expect(focused_window(run.program().ui_thread_id()) == exit_button, "launch 3: focus moves to Exit");
  post_key(exit_button, VK_RETURN, 0x1C);
  run.expect_exit_code_zero("Enter on the focused Exit button");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: panel_driver PATH\\Chargewright.exe [--wait-for FILE]\n");
    return 2;
  }
  const std::wstring exe = windows_path(argv[1]);
  std::wstring wait_for;
  if (argc >= 4 && std::wstring(argv[2]) == L"--wait-for") {
    wait_for = windows_path(argv[3]);
  }
  CheckLog log;
  run_first_launch(log, exe, wait_for);
  run_close_box_launch(log, exe);
  run_enter_on_exit_launch(log, exe);
  check_s1_session(log, exe);
  check_device_buttons(log, exe);
  check_sleep_tests(log, exe);
  std::printf("%d passed, %d failed\n", log.passed(), log.failed());
  return log.failed() == 0 ? 0 : 1;
}
