// A power manager that remembers every call in order and lets a test refuse any step.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ports/power_port.h"

class FakePowerPort : public PowerPort {
 public:
  std::vector<std::string> calls;  // one entry per call, with the arguments that matter
  bool fail_token = false, fail_scheme = false, fail_create_timer = false, fail_set_timer = false;
  std::function<void()> while_suspended;  // runs inside SetSuspendState, as time passing asleep
  GUID active_scheme = {0x381B4222, 0xF694, 0x41F0, {0x96, 0x85, 0xFF, 0x5B, 0xB2, 0x60, 0xDF, 0x2E}};
  LARGE_INTEGER last_due = {};
  int open_tokens = 0, live_timers = 0, scheme_copies = 0;

  HANDLE GetCurrentProcess() override { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }
  BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) override {
    calls.push_back("OpenProcessToken " + hex(access) +
                    (process == GetCurrentProcess() ? " self" : " other"));
    if (fail_token) {
      return FALSE;
    }
    ++open_tokens;
    *token = &token_;
    return TRUE;
  }
  BOOL LookupPrivilegeValueW(const char16_t* system, const char16_t* name, LUID* luid) override {
    calls.push_back("LookupPrivilegeValueW " + narrow(name) + (system == nullptr ? "" : " remote"));
    *luid = {19, 0};
    return TRUE;
  }
  BOOL AdjustTokenPrivileges(HANDLE token, BOOL disable_all, TOKEN_PRIVILEGES* state, DWORD length,
                             TOKEN_PRIVILEGES* previous, DWORD* returned) override {
    calls.push_back("AdjustTokenPrivileges " + std::to_string(token == &token_) +
                    std::to_string(disable_all) + " " + std::to_string(state->PrivilegeCount) + " luid" +
                    std::to_string(state->Privileges[0].Luid.LowPart) + " attr" +
                    std::to_string(state->Privileges[0].Attributes) + " " + std::to_string(length) +
                    std::to_string(previous == nullptr) + std::to_string(returned == nullptr));
    return TRUE;
  }
  DWORD PowerGetActiveScheme(HKEY, GUID** scheme) override {
    calls.push_back("PowerGetActiveScheme");
    if (fail_scheme) {
      return 120;
    }
    ++scheme_copies;
    *scheme = &scheme_copy_;
    scheme_copy_ = active_scheme;
    return 0;
  }
  DWORD PowerWriteACValueIndex(HKEY, const GUID* scheme, const GUID* subgroup, const GUID* setting,
                               DWORD value) override {
    calls.push_back("PowerWriteACValueIndex" + describe(scheme, subgroup, setting, value));
    return 0;
  }
  DWORD PowerWriteDCValueIndex(HKEY, const GUID* scheme, const GUID* subgroup, const GUID* setting,
                               DWORD value) override {
    calls.push_back("PowerWriteDCValueIndex" + describe(scheme, subgroup, setting, value));
    return 0;
  }
  DWORD PowerSetActiveScheme(HKEY, const GUID* scheme) override {
    calls.push_back(std::string("PowerSetActiveScheme") +
                    (same(scheme, active_scheme) ? " active" : " other"));
    return 0;
  }
  HLOCAL LocalFree(HLOCAL memory) override {
    calls.push_back("LocalFree");
    if (memory == &scheme_copy_) {
      --scheme_copies;
    }
    return nullptr;
  }
  BOOLEAN SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_disabled) override {
    calls.push_back("SetSuspendState " + std::to_string(hibernate) + std::to_string(force) +
                    std::to_string(wake_disabled));
    if (while_suspended) {
      while_suspended();
    }
    return TRUE;
  }
  HANDLE CreateWaitableTimerW(void* security, BOOL manual_reset, const char16_t* name) override {
    calls.push_back("CreateWaitableTimerW " + std::to_string(manual_reset) +
                    (security == nullptr && name == nullptr ? "" : " extra"));
    if (fail_create_timer) {
      return nullptr;
    }
    ++live_timers;
    return &timers_[next_timer_++ % 4];
  }
  BOOL SetWaitableTimer(HANDLE timer, const LARGE_INTEGER* due, LONG period, BOOL resume) override {
    calls.push_back("SetWaitableTimer " + std::to_string(due->QuadPart) + " " + std::to_string(period) + " " +
                    std::to_string(resume) + (timer == nullptr ? " null" : ""));
    last_due = *due;
    return timer != nullptr && !fail_set_timer;
  }
  BOOL CloseHandle(HANDLE handle) override {
    if (handle == &token_) {
      calls.push_back("CloseHandle token");
      --open_tokens;
    } else {
      calls.push_back("CloseHandle timer");
      --live_timers;
    }
    return TRUE;
  }
  EXECUTION_STATE SetThreadExecutionState(EXECUTION_STATE flags) override {
    calls.push_back("SetThreadExecutionState " + hex(flags));
    return 0;
  }
  BOOL ExitWindowsEx(UINT flags, DWORD reason) override {
    calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
    return TRUE;
  }

  bool called(const std::string& prefix) const {
    for (const std::string& call : calls) {
      if (call.rfind(prefix, 0) == 0) {
        return true;
      }
    }
    return false;
  }

 private:
  static bool same(const GUID* a, const GUID& b) { return std::memcmp(a, &b, sizeof b) == 0; }
  std::string describe(const GUID* scheme, const GUID* subgroup, const GUID* setting, DWORD value) const {
    return std::string(same(scheme, active_scheme) ? " active" : " other") +
           (same(subgroup, power_settings::GUID_SLEEP_SUBGROUP) ? " sleep" : " ?") +
           (same(setting, power_settings::GUID_ALLOW_RTC_WAKE) ? " rtc-wake " : " ? ") +
           std::to_string(value);
  }
  static std::string hex(DWORD value) {
    const char digits[] = "0123456789abcdef";
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) {
      text += digits[(value >> shift) & 0xF];
    }
    return "0x" + text;
  }
  static std::string narrow(const char16_t* text) {
    std::string result;
    for (; *text != 0; ++text) {
      result += static_cast<char>(*text);
    }
    return result;
  }
  int token_ = 0;
  int timers_[4] = {};
  int next_timer_ = 0;
  GUID scheme_copy_ = {};
};
