// The Windows power port against the real token, timers and powrprof.dll. Nothing here suspends or
// shuts down: a real SetSuspendState or ExitWindowsEx would put the machine (or Wine's session) away.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "../unit/fakes/fake_battery_port.h"
#include "../unit/fakes/fake_dialog_port.h"
#include "../unit/fakes/fake_input_port.h"
#include "../unit/fakes/fake_lcd_port.h"
#include "../unit/fakes/fake_log_file_port.h"
#include "../unit/fakes/fake_wlan_port.h"
#include "power/power_actions.h"
#include "win32/powrprof_power_port.h"

namespace {

constexpr wchar_t kChildVariable[] = L"CHARGEWRIGHT_PLANTED_POWRPROF_CHILD";
constexpr wchar_t kChildReport[] = L"loaded-powrprof.txt";

std::wstring directory_of(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring system_directory() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(directory, length);
}

// The file the loaded powrprof.dll came from; empty when none is loaded.
std::wstring loaded_powrprof_path() {
  const HMODULE module = GetModuleHandleW(L"powrprof.dll");
  wchar_t path[MAX_PATH] = {};
  if (module == nullptr || GetModuleFileNameW(module, path, MAX_PATH) == 0) {
    return std::wstring();
  }
  return path;
}

bool write_text(const std::wstring& path, const std::wstring& text) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const auto size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
  CloseHandle(file);
  return ok;
}

// The whole file as UTF-16 text; empty when it cannot be read.
std::wstring read_text(const std::wstring& path) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::wstring();
  }
  wchar_t text[MAX_PATH] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr) != FALSE;
  CloseHandle(file);
  return ok ? std::wstring(text, read / sizeof(wchar_t)) : std::wstring();
}

bool same_path(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// Asks for the active scheme, as the resume-timer path does first, and gives the GUID back.
DWORD ask_for_active_scheme(PowerPort& port) {
  GUID* scheme = nullptr;
  const DWORD result = port.PowerGetActiveScheme(nullptr, &scheme);
  if (result == ERROR_SUCCESS) {
    EXPECT_NE(scheme, nullptr);
    port.LocalFree(scheme);
  } else {
    EXPECT_EQ(scheme, nullptr) << "a failed call must not hand out a scheme";
  }
  return result;
}

// Whether the process token holds `privilege` enabled.
bool privilege_enabled(const wchar_t* privilege) {
  LUID luid;
  if (!LookupPrivilegeValueW(nullptr, privilege, &luid)) {
    return false;
  }
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return false;
  }
  alignas(TOKEN_PRIVILEGES) unsigned char buffer[4096];
  DWORD size = 0;
  const bool read = GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size) != FALSE;
  CloseHandle(token);
  if (!read) {
    return false;
  }
  const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
  const LUID_AND_ATTRIBUTES* entries = privileges->Privileges;
  for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
    if (entries[i].Luid.LowPart == luid.LowPart && entries[i].Luid.HighPart == luid.HighPart) {
      return (entries[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
  }
  return false;
}

class PowrProfPowerPortTest : public ::testing::Test {
 protected:
  FakeDialogPort dialog_;
  FakeClockPort clock_;
  FakeBatteryPort battery_;
  FakeLogFilePort files_;
  PowrProfPowerPort power_;
  FakeLcdPort lcd_;
  FakeWlanPort wlan_;
  FakeInputPort input_;
  PanelPorts ports_{dialog_, clock_, battery_, files_, power_, lcd_, wlan_, input_};
};

TEST_F(PowrProfPowerPortTest, EnablesTheShutdownPrivilegeInTheProcessToken) {
  EXPECT_TRUE(enable_shutdown_privilege(ports_));
  EXPECT_TRUE(privilege_enabled(L"SeShutdownPrivilege"));
}

TEST_F(PowrProfPowerPortTest, TheActiveSchemeIsAskedOfTheSystemsPowrprof) {
  const DWORD result = ask_for_active_scheme(power_);
  RecordProperty("PowerGetActiveScheme", static_cast<int>(result));
  const std::wstring loaded = loaded_powrprof_path();
  ASSERT_FALSE(loaded.empty()) << "powrprof.dll is not loaded after the first use";
  EXPECT_TRUE(same_path(directory_of(loaded), system_directory())) << loaded;
  // So the result, a scheme or an error (Wine's is ERROR_CALL_NOT_IMPLEMENTED), is the system's own.
  EXPECT_NE(GetProcAddress(GetModuleHandleW(L"powrprof.dll"), "PowerGetActiveScheme"), nullptr);
}

TEST_F(PowrProfPowerPortTest, AResumeTimerSignalsAfterItsRelativeDueTime) {
  const HANDLE timer = power_.CreateWaitableTimerW(nullptr, TRUE, nullptr);
  ASSERT_NE(timer, nullptr);
  LARGE_INTEGER due = {};
  due.QuadPart = -10'000'000;  // one second from now
  SetLastError(ERROR_SUCCESS);
  const BOOL armed = power_.SetWaitableTimer(timer, &due, 0, TRUE);
  // Where the machine cannot resume by timer, the timer is armed anyway with a last error telling
  // so (Wine: ERROR_TIMER_RESUME_IGNORED), or refused with ERROR_NOT_SUPPORTED.
  const DWORD error = GetLastError();
  RecordProperty("SetWaitableTimerResumeError", static_cast<int>(error));
  if (!armed) {
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    power_.CloseHandle(timer);
    GTEST_SKIP() << "resume timers refused with error " << error;
  }
  const ULONGLONG armed_at = GetTickCount64();
  EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_TIMEOUT) << "due at once: not taken as relative";
  EXPECT_EQ(WaitForSingleObject(timer, 3000), WAIT_OBJECT_0);
  EXPECT_GE(GetTickCount64() - armed_at, 900u);
  EXPECT_EQ(WaitForSingleObject(timer, 0), WAIT_OBJECT_0) << "a manual-reset timer stays signalled";
  EXPECT_TRUE(power_.CloseHandle(timer));
}

TEST_F(PowrProfPowerPortTest, ArmingTheMissingTimerOfAFailedCreationFails) {
  LARGE_INTEGER due = {};
  due.QuadPart = -10'000'000;
  EXPECT_FALSE(power_.SetWaitableTimer(nullptr, &due, 0, TRUE));
}

// A powrprof.dll planted beside the program and in its current directory must not be loaded. The
// check runs in a copy of this program in a directory of its own, so that no earlier test has
// loaded the library already and the planted file really lies beside the program.
class PlantedPowrprofTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    directory_ = std::wstring(temp) + L"chargewright-planted-" + std::to_wstring(GetCurrentProcessId());
    current_ = directory_ + L"\\current";
    // A run that died half-way may have left them behind; Wine reuses process ids.
    ASSERT_TRUE(CreateDirectoryW(directory_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryW(current_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    for (const std::wstring& file : {program_, directory_ + L"\\powrprof.dll", current_ + L"\\powrprof.dll",
                                     current_ + L"\\" + kChildReport}) {
      DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(current_.c_str());
    RemoveDirectoryW(directory_.c_str());
  }
  // Not a loadable image: a loader that took it would fail, and the power calls with it.
  static bool plant(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      return false;
    }
    const char garbage[] = "MZ this is not powrprof.dll";
    DWORD written = 0;
    const bool ok = WriteFile(file, garbage, sizeof garbage, &written, nullptr) && written == sizeof garbage;
    CloseHandle(file);
    return ok;
  }
  // Runs the child test in the copy with the planted directory as its current one; its exit code.
  DWORD run_child() {
    std::wstring command =
        L"\"" + program_ +
        L"\" --gtest_filter=PlantedPowrprofChild.* --gtest_also_run_disabled_tests --gtest_brief=1";
    SetEnvironmentVariableW(kChildVariable, L"1");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        current_.c_str(), &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started) {
      ADD_FAILURE() << "the copy did not start: error " << GetLastError();
      return 1;
    }
    DWORD exit_code = 1;
    if (WaitForSingleObject(process.hProcess, 60'000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &exit_code);
    } else {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, 10'000);
      ADD_FAILURE() << "the copy did not finish";
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exit_code;
  }

  std::wstring directory_, current_, program_;
};

TEST_F(PlantedPowrprofTest, TheSystemsCopyIsLoadedNotThePlantedOnes) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
  program_ = directory_ + L"\\win32_port_tests.exe";
  ASSERT_TRUE(CopyFileW(self, program_.c_str(), FALSE));
  ASSERT_TRUE(plant(directory_ + L"\\powrprof.dll"));
  ASSERT_TRUE(plant(current_ + L"\\powrprof.dll"));
  EXPECT_EQ(run_child(), 0u);
  const std::wstring loaded = read_text(current_ + L"\\" + kChildReport);
  ASSERT_FALSE(loaded.empty()) << "the copy loaded no powrprof.dll";
  EXPECT_TRUE(same_path(directory_of(loaded), system_directory())) << loaded;
}

// Runs only inside the copy started above, which reports the loaded library's path in a file.
TEST(PlantedPowrprofChild, DISABLED_LoadsTheSystemCopy) {
  if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) == 0) {
    GTEST_SKIP() << "runs only in the copy beside a planted powrprof.dll";
  }
  ASSERT_EQ(GetModuleHandleW(L"powrprof.dll"), nullptr) << "already loaded before the port's first use";
  {
    PowrProfPowerPort power;
    ask_for_active_scheme(power);
    ASSERT_TRUE(write_text(kChildReport, loaded_powrprof_path()));
  }
  EXPECT_EQ(GetModuleHandleW(L"powrprof.dll"), nullptr) << "the port keeps the library only while it lives";
}

}  // namespace
