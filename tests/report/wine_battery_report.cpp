// chargewright-report.exe on a machine with a battery: installs the described battery into the Wine
// prefix, runs the report on a folder of logs, and checks that the summary and the page show that
// battery, read through the battery class driver. The device is removed at the end.
//
//   report_battery_driver.exe PATH\chargewright-report.exe PATH\described_battery.inf LOG_FOLDER PAGE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "battery_description.h"
#include "battery_device.h"
#include "check_log.h"
#include "common/scoped_owner.h"
#include "driver_arguments.h"

namespace {

constexpr DWORD kReportTimeoutMs = 60000;

// A worn pack: four fifths of its design capacity left after some hundred cycles.
BatteryDescription worn_battery() {
  BatteryDescription battery;
  battery.tag = 1;
  battery.capabilities = 0x80000000;  // BATTERY_SYSTEM_BATTERY
  battery.technology = 1;             // rechargeable
  battery.chemistry = L"LION";
  battery.designed_capacity = 57000;
  battery.full_charged_capacity = 45600;
  battery.default_alert1 = 2280;
  battery.default_alert2 = 4560;
  battery.cycle_count = 412;
  battery.manufacture_name = L"SMP";
  battery.unique_id = L"5B10W13930 0412";
  battery.power_state = 0x2;  // discharging
  battery.capacity = 30000;
  battery.voltage = 11800;
  battery.rate = -9000;
  return battery;
}

const char* const kPrinted[] = {
    "The battery of the machine this report ran on (not necessarily the one that wrote the logs)\n",
    "  Manufacturer                       SMP\n",
    "  Unique ID (model and serial)       5B10W13930 0412\n",
    "  Chemistry                          LION\n",
    "  Design capacity (mWh)              57000\n",
    "  Full-charged capacity (mWh)        45600 (80.0 % of design)\n",
    "  Cycle count                        412\n",
};

std::string file_text(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The console's text with its line ends as the summary makes them (a Windows stream writes CR LF).
std::string without_carriage_returns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// Runs the report with its standard output in `output`; its exit code, or -1 when it did not end.
long run_report(const std::wstring& exe, const std::wstring& folder, const std::wstring& page,
                const std::wstring& output) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const auto out =
      scoped_owner<HANDLE>(CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
                           INVALID_HANDLE_VALUE, [](HANDLE open) { CloseHandle(open); });
  if (!out.holds()) {
    return -1;
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.get();
  startup.hStdError = out.get();
  std::wstring command = L"\"" + exe + L"\" \"" + folder + L"\" -o \"" + page + L"\"";
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  const auto thread = scoped_owner<HANDLE>(process.hThread, nullptr, [](HANDLE open) { CloseHandle(open); });
  const auto child = scoped_owner<HANDLE>(process.hProcess, nullptr, [](HANDLE open) { CloseHandle(open); });
  DWORD code = 0;
  if (WaitForSingleObject(child.get(), kReportTimeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(child.get(), &code)) {
    TerminateProcess(child.get(), 1);
    return -1;
  }
  return static_cast<long>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fprintf(stderr,
                 "usage: report_battery_driver PATH\\chargewright-report.exe PATH\\described_battery.inf "
                 "LOG_FOLDER PAGE\n");
    return 2;
  }
  const std::wstring exe = windows_path(argv[1]);
  const std::wstring inf = windows_path(argv[2]);
  const std::wstring folder = windows_path(argv[3]);
  const std::wstring page = windows_path(argv[4]);
  const std::wstring output = page + L".out.txt";
  CheckLog log;
  {
    BatteryDevice device(inf);
    const std::string described = device.installed() ? describe_battery(worn_battery()) : "";
    if (log.expect(device.installed(), "the battery device is created and its driver installed from the INF",
                   device.failure()) &&
        log.expect(described.empty(), "the test describes a worn LION battery", described)) {
      log.expect(run_report(exe, folder, page, output) == 0, "the report runs and writes its page");
      const std::string printed = without_carriage_returns(file_text(output));
      // The end of the summary, where the machine's battery stands, for a check that fails.
      const std::string end = printed.substr(printed.size() > 600 ? printed.size() - 600 : 0);
      for (const char* line : kPrinted) {
        log.expect(printed.find(line) != std::string::npos, std::string("the summary prints ") + quoted(line),
                   quoted(end));
      }
      log.expect(file_text(page).find("\"design\":57000") != std::string::npos,
                 "the page's capacity chart has the battery's design capacity as its 100 % line");
    }
    log.expect(device.remove(), "removing the device", device.failure());
  }
  std::printf("%d passed, %d failed\n", log.passed(), log.failed());
  return log.failed() == 0 ? 0 : 1;
}
