// Installs the described battery into the Wine prefix as a root-enumerated device with its own
// driver, starts Chargewright.exe and checks from outside what the program makes of the battery:
// every battery field of the panel, a change of the battery within a tick, the AC adapter plugged in
// and the power broadcast that follows, and the rows of an S1 log. The device is removed at the end.
//
//   battery_panel_driver.exe PATH\Chargewright.exe PATH\described_battery.inf [--wait-for FILE]
//
// With --wait-for, the driver stops once the panel shows the battery and goes on when FILE exists,
// so that a screenshot can be taken. Exit code 0 only when every check passed.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "battery_description.h"
#include "battery_device.h"
#include "check_log.h"
#include "common/win_types.h"
#include "control_ids.h"
#include "driver_arguments.h"
#include "log_directory.h"
#include "log_file_text.h"
#include "log_viewer.h"
#include "panel_run.h"
#include "polling.h"
#include "window_access.h"

using namespace battery_class;

namespace {

// The device path the program keeps has room for 63 characters.
constexpr size_t kDevicePathCharacters = 63;
constexpr DWORD kCaptionTimeoutMs = 10000;
// The panel ticks once a second; a tick under load may take a little longer.
constexpr DWORD kTickTimeoutMs = 3000;
// Long enough for two ticks: a power broadcast of Wine's own would have re-initialised the panel.
constexpr DWORD kNoBroadcastMs = 2500;

// A notebook battery on DC power, a little under four fifths full, as a battery that reports
// milliwatt-hours gives it.
BatteryDescription discharging_battery() {
  BatteryDescription battery;
  battery.tag = 1;
  battery.capabilities = 0x80000000;  // BATTERY_SYSTEM_BATTERY
  battery.technology = 1;             // rechargeable
  battery.chemistry = L"LION";
  battery.designed_capacity = 57000;
  battery.full_charged_capacity = 52120;
  battery.default_alert1 = 2850;
  battery.default_alert2 = 5700;
  battery.cycle_count = 143;
  battery.manufacture_name = L"LGC";
  battery.unique_id = L"4921LGC45N2408";
  battery.power_state = BATTERY_DISCHARGING;
  battery.capacity = 41675;
  battery.voltage = 12125;
  battery.rate = -13446;
  return battery;
}

// The same battery a little later: less charge, a lower drain, a lower voltage.
BatteryDescription drained_battery() {
  BatteryDescription battery = discharging_battery();
  battery.capacity = 41000;
  battery.voltage = 12090;
  battery.rate = -12000;
  return battery;
}

// Then the AC adapter is plugged in and the battery charges.
BatteryDescription charging_battery() {
  BatteryDescription battery = drained_battery();
  battery.power_state = BATTERY_POWER_ON_LINE | BATTERY_CHARGING;
  battery.voltage = 12400;
  battery.rate = 15000;
  return battery;
}

using PanelTexts = std::vector<std::pair<int, std::string>>;

// What a panel initialisation shows of the discharging battery.
const PanelTexts kDischargingStaticTexts = {
    {IDC_AC_ON_LINE, "FALSE"},
    {IDC_BATTERY_CRITICAL, "FALSE"},
    {IDC_CHARGING, "FALSE"},
    {IDC_DISCHARGING, "TRUE"},
    {IDC_BATTERY_STATUS_GROUP, "Battery Status (4921LGC45N2408, LION)"},
    {IDC_VOLTAGE, "12125 mV"},
    {IDC_DESIGN_CAPACITY, "57000 mW"},
    {IDC_FULL_CHARGED_CAPACITY, "52120 mW"},
    {IDC_DEFAULT_ALERT1, "2850 mW"},
    {IDC_DEFAULT_ALERT2, "5700 mW"},
};
// What the ticks show: 41675 / 52120 is 79.9597... per cent. The two queries at start read the same
// capacity, so the first minute block shows no drain and no estimate.
const PanelTexts kDischargingTickTexts = {
    {IDC_REMAINING_CAPACITY, "41675 mW"}, {IDC_RATE, "-13446 mW/hr"}, {IDC_LIFE_PERCENT, "79.96 %"},
    {IDC_RATE_PER_MINUTE, "0 mW/min"},    {IDC_ESTIMATED_TIME, ""},
};
// 41000 / 52120 is 78.6646... per cent.
const PanelTexts kDrainedTickTexts = {
    {IDC_REMAINING_CAPACITY, "41000 mW"},
    {IDC_RATE, "-12000 mW/hr"},
    {IDC_LIFE_PERCENT, "78.66 %"},
};
const PanelTexts kChargingTickTexts = {
    {IDC_REMAINING_CAPACITY, "41000 mW"},
    {IDC_RATE, "15000 mW/hr"},
    {IDC_LIFE_PERCENT, "78.66 %"},
};
// After the power broadcast: the static fields anew, and a fresh minute block without drain.
const PanelTexts kChargingStaticTexts = {
    {IDC_AC_ON_LINE, "TRUE"},
    {IDC_BATTERY_CRITICAL, "FALSE"},
    {IDC_CHARGING, "TRUE"},
    {IDC_DISCHARGING, "FALSE"},
    {IDC_BATTERY_STATUS_GROUP, "Battery Status (4921LGC45N2408, LION)"},
    {IDC_VOLTAGE, "12400 mV"},
    {IDC_DESIGN_CAPACITY, "57000 mW"},
    {IDC_FULL_CHARGED_CAPACITY, "52120 mW"},
    {IDC_DEFAULT_ALERT1, "2850 mW"},
    {IDC_DEFAULT_ALERT2, "5700 mW"},
    {IDC_RATE_PER_MINUTE, "0 mW/min"},
};

// The S1 rows without their time: the start row; the row of the power broadcast's minute block,
// 675 mWh below the start; the stop row, with no change since the broadcast.
const std::string kS1RowsAfterTime[] = {
    " 79.96%\t   52120\t   41675\t  -13446\t       0",
    " 78.66%\t   52120\t   41000\t   15000\t    -675",
    " 78.66%\t   52120\t   41000\t   15000\t       0",
};

// The controls of `texts` that read otherwise, each with what it reads; empty when all agree.
std::string differences(const PanelRun& run, const PanelTexts& texts) {
  std::string found;
  for (const auto& [id, text] : texts) {
    const std::string shown = run.text(id);
    if (shown != text) {
      found += (found.empty() ? "" : ", ") + std::to_string(id) + " reads " + quoted(shown) + " not " +
               quoted(text);
    }
  }
  return found;
}

bool describe(CheckLog& log, const BatteryDescription& battery, const std::string& what) {
  const std::string failure = describe_battery(battery);
  return log.expect(failure.empty(), "the test describes " + what, failure);
}

// Waits for the next ticks to show `texts`; true when they did within the time of a tick.
bool shows_within_a_tick(CheckLog& log, const PanelRun& run, const PanelTexts& texts,
                         const std::string& what) {
  const ULONGLONG since = GetTickCount64();
  const bool shown = wait_until(kTickTimeoutMs, [&] { return differences(run, texts).empty(); });
  return log.expect(shown, what + " (after " + std::to_string(GetTickCount64() - since) + " ms)",
                    differences(run, texts));
}

void check_battery_interface(CheckLog& log) {
  const std::vector<std::wstring> paths = battery_interface_paths();
  const std::string listed = paths.empty() ? "none" : to_utf8(paths[0]);
  log.expect(paths.size() == 1, "SetupAPI enumerates one battery interface", std::to_string(paths.size()));
  log.expect(
      paths.size() == 1 && paths[0].size() <= kDevicePathCharacters && paths[0].rfind(L"\\\\?\\", 0) == 0,
      "its device path fits the program's 63 characters", quoted(listed));
  std::printf("     (battery interface %s)\n", quoted(listed).c_str());
}

void check_first_panel(CheckLog& log, const PanelRun& run) {
  for (const PanelTexts* texts : {&kDischargingStaticTexts, &kDischargingTickTexts}) {
    for (const auto& [id, text] : *texts) {
      const std::string shown = run.text(id);
      log.expect(shown == text, "control " + std::to_string(id) + " reads " + quoted(text), quoted(shown));
    }
  }
}

void click_and_wait_for_caption(CheckLog& log, const PanelRun& run, const std::string& caption) {
  send_message(run.control(IDC_S1_SAVE), BM_CLICK, 0, 0);
  log.expect(wait_until(kCaptionTimeoutMs, [&] { return run.text(IDC_S1_SAVE) == caption; }),
             "the S1 button now reads " + quoted(caption), quoted(run.text(IDC_S1_SAVE)));
}

// The battery changes under the running panel: the ticks follow it, the static fields wait for the
// next initialisation, which the power broadcast brings.
void change_the_battery(CheckLog& log, PanelRun& run) {
  if (describe(log, drained_battery(), "less charge, a lower drain and a lower voltage")) {
    shows_within_a_tick(log, run, kDrainedTickTexts,
                        "remaining capacity, rate and percentage follow within a tick");
    log.expect(differences(run, kDischargingStaticTexts).empty(),
               "the static fields keep the initialisation's values",
               differences(run, kDischargingStaticTexts));
  }
  if (!describe(log, charging_battery(), "the AC adapter plugged in: on line, charging")) {
    return;
  }
  shows_within_a_tick(log, run, kChargingTickTexts, "the ticks show the charging rate");
  // Wine has no battery class driver to tell the system about the adapter, so no broadcast comes.
  Sleep(kNoBroadcastMs);
  log.expect(differences(run, kDischargingStaticTexts).empty(),
             "without a power broadcast the static fields still show the battery on DC",
             differences(run, kDischargingStaticTexts));
  // What Windows sends every top-level window when the power source changes.
  LRESULT answer = 0;
  const bool answered = send_message(run.host(), WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0, &answer);
  log.expect(answered && answer == TRUE, "the host answers PBT_APMPOWERSTATUSCHANGE with TRUE");
  log.expect(differences(run, kChargingStaticTexts).empty() && differences(run, kChargingTickTexts).empty(),
             "the power broadcast re-initialises the panel: AC on line, charging, the new voltage",
             differences(run, kChargingStaticTexts) + differences(run, kChargingTickTexts));
}

void check_s1_log(CheckLog& log, const LogDirectory& directory) {
  const std::vector<std::wstring> names = directory.file_names();
  if (!log.expect(names.size() == 1, "the session wrote one log file",
                  std::to_string(names.size()) + " files")) {
    return;
  }
  check_notepad_shows(log, "battery launch", names[0]);
  const std::optional<TestLogName> name = parse_test_log_name(to_utf8(names[0]), "S1");
  const LogLines split = split_crlf_lines(directory.read_file(names[0]).value_or(""));
  const std::vector<std::string>& lines = split.lines;
  log.expect(split.fault.empty() && lines.size() == 4 && lines[0] == kS1Header,
             "the log holds the S1 header and three rows, each ending in CR LF",
             split.fault + " " + std::to_string(lines.size()) + " lines");
  for (size_t item = 0; item < 3 && item + 1 < lines.size(); ++item) {
    const std::string& line = lines[item + 1];
    const std::optional<S1Row> row = parse_s1_row(line);
    const std::string head = std::to_string(item) + "\t";
    const size_t time_end = head.size() + 8;  // HH:MM:SS
    log.expect(row && line.rfind(head, 0) == 0 && line.substr(time_end) == kS1RowsAfterTime[item],
               "row " + head + "HH:MM:SS" + kS1RowsAfterTime[item], quoted(line));
    if (item == 0) {
      log.expect(row && name && row->fields.time == name->time,
                 "the start row has the time of the log's name", quoted(line));
    }
  }
}

void run_session(CheckLog& log, PanelRun& run, const LogDirectory& directory, const std::wstring& wait_for) {
  check_first_panel(log, run);
  if (!wait_for.empty()) {
    pause_for_screenshot(wait_for);
  }
  click_and_wait_for_caption(log, run, "Stop");
  change_the_battery(log, run);
  click_and_wait_for_caption(log, run, "S1 / Save");
  check_s1_log(log, directory);
  send_message(run.control(IDC_EXIT), BM_CLICK, 0, 0);
  run.expect_exit_code_zero("clicking Exit");
}

void check_battery_launch(CheckLog& log, const std::wstring& exe, const std::wstring& wait_for) {
  LogDirectory directory;
  if (!log.expect(directory.created(), "a fresh temporary directory for the log")) {
    return;
  }
  {
    PanelRun run(log, exe, "battery launch", directory.path());
    if (run.ready()) {
      run_session(log, run, directory, wait_for);
    }
  }  // a launch whose checks failed is ended here, before its directory goes
  log.expect(directory.remove(), "the temporary log directory is removed");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: battery_panel_driver PATH\\Chargewright.exe PATH\\described_battery.inf "
                 "[--wait-for FILE]\n");
    return 2;
  }
  const std::wstring exe = windows_path(argv[1]);
  const std::wstring inf = windows_path(argv[2]);
  std::wstring wait_for;
  if (argc >= 5 && std::wstring(argv[3]) == L"--wait-for") {
    wait_for = windows_path(argv[4]);
  }
  CheckLog log;
  {
    BatteryDevice device(inf);
    // Setup reports success even when the driver did not start, so the interface is what counts.
    if (log.expect(device.installed(), "the battery device is created and its driver installed from the INF",
                   device.failure()) &&
        describe(log, discharging_battery(), "a discharging LION battery")) {
      check_battery_interface(log);
      check_battery_launch(log, exe, wait_for);
    }
    log.expect(device.remove(), "removing the device", device.failure());
    log.expect(battery_interface_paths().empty(), "after the removal no battery interface is left");
  }
  std::printf("%d passed, %d failed\n", log.passed(), log.failed());
  return log.failed() == 0 ? 0 : 1;
}
