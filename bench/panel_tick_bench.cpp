// One panel tick against ports that answer at once, and one on the simulated laptop the Linux program
// runs: time and heap allocations per tick.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "logs/s1_session.h"
#include "panel/panel.h"
#include "panel/panel_tick.h"
#include "simulated/simulated_laptop.h"

namespace {

std::atomic<long> allocations{0};

class QuietDialog : public DialogPort {
 public:
  BOOL SetDlgItemTextW(HWND, int, const char16_t* text) override {
    benchmark::DoNotOptimize(text[0]);
    return TRUE;
  }
  BOOL SetDlgItemInt(HWND, int, UINT, BOOL) override { return TRUE; }
  UINT GetDlgItemInt(HWND, int, BOOL*, BOOL) override { return 0; }
  UINT IsDlgButtonChecked(HWND, int) override { return 0; }
  HWND GetDlgItem(HWND, int) override { return nullptr; }
  BOOL EnableWindow(HWND, BOOL) override { return TRUE; }
  BOOL SetWindowTextW(HWND, const char16_t* text) override {
    benchmark::DoNotOptimize(text[0]);
    return TRUE;
  }
  UINT_PTR SetTimer(HWND, UINT_PTR id, UINT) override { return id; }
  BOOL KillTimer(HWND, UINT_PTR) override { return TRUE; }
  void PostQuitMessage(int) override {}
  LRESULT SendMessageW(HWND, UINT, WPARAM, LPARAM) override { return 0; }
  int MessageBoxW(HWND, const char16_t*, const char16_t*, UINT) override { return 1; }
};

class FixedClockPort : public ClockPort {
 public:
  void GetLocalTime(SYSTEMTIME* time) override { *time = {2026, 12, 1, 7, 9, 5, 3, 0}; }
};

// One battery that answers every request at once, draining by 1 mWh per status request.
class InstantBattery : public BatteryPort {
 public:
  HDEVINFO SetupDiGetClassDevsW(const GUID*, const char16_t*, HWND, DWORD) override { return this; }
  BOOL SetupDiEnumDeviceInterfaces(HDEVINFO, void*, const GUID*, DWORD index,
                                   SP_DEVICE_INTERFACE_DATA*) override {
    return index == 0;
  }
  BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO, SP_DEVICE_INTERFACE_DATA*,
                                        SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD) override {
    std::memcpy(reinterpret_cast<char*>(detail) + 4, u"\\\\?\\battery", sizeof u"\\\\?\\battery");
    return TRUE;
  }
  BOOL SetupDiDestroyDeviceInfoList(HDEVINFO) override { return TRUE; }
  HANDLE CreateFileW(const char16_t*, DWORD, DWORD, DWORD, DWORD) override { return this; }
  BOOL DeviceIoControl(HANDLE, DWORD code, void*, DWORD, void* out, DWORD out_size, DWORD*) override {
    using namespace battery_class;
    if (code == IOCTL_BATTERY_QUERY_TAG) {
      const ULONG tag = 1;
      std::memcpy(out, &tag, sizeof tag);
    } else if (code == IOCTL_BATTERY_QUERY_STATUS) {
      const BATTERY_STATUS status = {BATTERY_DISCHARGING, capacity_--, 11800, -12000};
      std::memcpy(out, &status, sizeof status);
    } else if (out_size == sizeof(BATTERY_INFORMATION)) {
      const BATTERY_INFORMATION info = {0, 1, {}, {'L', 'I', 'O', 'N'}, 57000, 52000, 1560, 2600, 0, 3};
      std::memcpy(out, &info, sizeof info);
    } else {
      std::memcpy(out, u"Simulated", sizeof u"Simulated");
    }
    return TRUE;
  }
  BOOL CloseHandle(HANDLE) override { return TRUE; }

 private:
  ULONG capacity_ = 4000000;
};

// A file that takes every byte at once; the code page is the identity on the log's ASCII.
class SinkFiles : public LogFilePort {
 public:
  HANDLE CreateFileW(const char16_t*, DWORD, DWORD, DWORD, DWORD) override { return this; }
  BOOL WriteFile(HANDLE, const void* bytes, DWORD count, DWORD* written) override {
    benchmark::DoNotOptimize(static_cast<const char*>(bytes)[0]);
    *written = count;
    return TRUE;
  }
  BOOL CloseHandle(HANDLE) override { return TRUE; }
  int WideCharToMultiByte(UINT, DWORD, const char16_t* text, int length, char* bytes, int size) override {
    if (length > size) {
      return 0;
    }
    for (int i = 0; i < length; ++i) {
      bytes[i] = static_cast<char>(text[i]);
    }
    return length;
  }
  UINT GetSystemDirectoryW(char16_t*, UINT) override { return 0; }
  INT_PTR ShellExecuteW(HWND, const char16_t*, const char16_t*, const char16_t*, const char16_t*,
                        int) override {
    return 42;
  }
  DWORD GetLastError() override { return 0; }
  DWORD FormatMessageW(DWORD, DWORD, char16_t*, DWORD) override { return 0; }
};

// The power actions are not reached by a tick or a row.
class NoPower : public PowerPort {
 public:
  HANDLE GetCurrentProcess() override { return nullptr; }
  BOOL OpenProcessToken(HANDLE, DWORD, HANDLE*) override { return FALSE; }
  BOOL LookupPrivilegeValueW(const char16_t*, const char16_t*, LUID*) override { return FALSE; }
  BOOL AdjustTokenPrivileges(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*) override {
    return FALSE;
  }
  DWORD PowerGetActiveScheme(HKEY, GUID**) override { return 120; }
  DWORD PowerWriteACValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) override { return 120; }
  DWORD PowerWriteDCValueIndex(HKEY, const GUID*, const GUID*, const GUID*, DWORD) override { return 120; }
  DWORD PowerSetActiveScheme(HKEY, const GUID*) override { return 120; }
  HLOCAL LocalFree(HLOCAL) override { return nullptr; }
  BOOLEAN SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) override { return FALSE; }
  HANDLE CreateWaitableTimerW(void*, BOOL, const char16_t*) override { return nullptr; }
  BOOL SetWaitableTimer(HANDLE, const LARGE_INTEGER*, LONG, BOOL) override { return FALSE; }
  BOOL CloseHandle(HANDLE) override { return FALSE; }
  EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE) override { return 0; }
  BOOL ExitWindowsEx(UINT, DWORD) override { return FALSE; }
};

// Nor are the device buttons.
class NoLcd : public LcdPort {
 public:
  HANDLE CreateFileW(const char16_t*, DWORD, DWORD, DWORD, DWORD) override { return INVALID_HANDLE_VALUE; }
  BOOL DeviceIoControl(HANDLE, DWORD, void*, DWORD, void*, DWORD, DWORD*) override { return FALSE; }
  BOOL CloseHandle(HANDLE) override { return FALSE; }
};

class NoWlan : public WlanPort {
 public:
  DWORD WlanOpenHandle(DWORD, void*, DWORD*, HANDLE*) override { return 1062; }
  DWORD WlanCloseHandle(HANDLE, void*) override { return 6; }
  DWORD WlanEnumInterfaces(HANDLE, void*, native_wifi::WLAN_INTERFACE_INFO_LIST**) override { return 6; }
  DWORD WlanQueryInterface(HANDLE, const GUID*, DWORD, void*, DWORD*, void**, int32_t*) override { return 6; }
  DWORD WlanGetInterfaceCapability(HANDLE, const GUID*, void*,
                                   native_wifi::WLAN_INTERFACE_CAPABILITY**) override {
    return 6;
  }
  DWORD WlanSetInterface(HANDLE, const GUID*, DWORD, DWORD, const void*, void*) override { return 6; }
  void WlanFreeMemory(void*) override {}
  int32_t UuidToStringW(const GUID*, char16_t**) override { return 14; }
  int32_t RpcStringFreeW(char16_t**) override { return 0; }
  int32_t UuidFromStringW(const char16_t*, GUID*) override { return 1705; }
};

class NoInput : public InputPort {
 public:
  UINT SendInput(UINT, INPUT*, int) override { return 0; }
};

// A panel on ports that answer at once, initialised as at start.
struct InstantPanel {
  QuietDialog dialog;
  FixedClockPort clock;
  InstantBattery battery;
  SinkFiles files;
  NoPower power;
  NoLcd lcd;
  NoWlan wlan;
  NoInput input;
  PanelPorts ports{dialog, clock, battery, files, power, lcd, wlan, input};
  PanelState state;
  InstantPanel() { initialise_panel(state, ports); }
};

void count_allocations(benchmark::State& bench, const char* name, long before) {
  bench.counters[name] = benchmark::Counter(static_cast<double>(allocations.load() - before),
                                            benchmark::Counter::kAvgIterations);
}

void BM_PanelTick(benchmark::State& bench) {
  static InstantPanel panel;
  const long before = allocations.load();
  for (auto _ : bench) {
    panel_tick(panel.state, panel.ports);
  }
  count_allocations(bench, "allocs_per_tick", before);
}
BENCHMARK(BM_PanelTick);

// Formatting one S1 row and writing it through the port.
void BM_S1Row(benchmark::State& bench) {
  static InstantPanel panel;
  start_s1_session(panel.state, panel.ports);
  const long before = allocations.load();
  for (auto _ : bench) {
    s1_minute_row(panel.state, panel.ports);
  }
  count_allocations(bench, "allocs_per_row", before);
}
BENCHMARK(BM_S1Row);

// A clock that moves a second per reading, so the simulated battery drains as in a running panel.
class SecondPerReadingClock final : public MonotonicClock {
 public:
  uint64_t milliseconds() override { return now_ms_ += 1000; }

 private:
  uint64_t now_ms_ = 0;
};

// The same tick on the simulated laptop: its battery model and its driver's answers included.
void BM_PanelTickOnSimulatedLaptop(benchmark::State& bench) {
  static SecondPerReadingClock clock;
  static SimulatedLaptop laptop(clock, 0.8);
  static QuietDialog dialog;
  static FixedClockPort local_clock;
  static SinkFiles files;
  static const PanelPorts ports = laptop.ports(dialog, local_clock, files);
  static PanelState state;
  initialise_panel(state, ports);
  const long before = allocations.load();
  for (auto _ : bench) {
    panel_tick(state, ports);
  }
  count_allocations(bench, "allocs_per_tick", before);
}
BENCHMARK(BM_PanelTickOnSimulatedLaptop);

}  // namespace

void* operator new(size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) {
    return block;
  }
  throw std::bad_alloc();
}
// Paired with the counting operator new above, which takes its blocks from malloc.
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, size_t) noexcept {
  std::free(block);
}

BENCHMARK_MAIN();
