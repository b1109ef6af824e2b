#include "launched_program.h"

#include <vector>

namespace {

struct HostSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK match_host_window(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<HostSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (owner == search.process_id && lstrcmpW(name, L"Chargewright") == 0 && IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

LaunchedProgram::LaunchedProgram(const std::wstring& exe_path, const std::wstring& current_directory) {
  std::wstring command_line = L"\"" + exe_path + L"\"";
  std::vector<wchar_t> writable(command_line.begin(), command_line.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const wchar_t* directory = current_directory.empty() ? nullptr : current_directory.c_str();
  if (CreateProcessW(exe_path.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                     &startup, &info)) {
    process_ = info.hProcess;
    thread_ = info.hThread;
    process_id_ = info.dwProcessId;
    thread_id_ = info.dwThreadId;
  }
}

LaunchedProgram::~LaunchedProgram() {
  if (process_ != nullptr) {
    // A run whose checks failed may leave the program up; it must not outlive the driver.
    if (running()) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(thread_);
    CloseHandle(process_);
  }
}

HWND LaunchedProgram::wait_for_host_window(DWORD timeout_ms) {
  if (process_ == nullptr) {
    return nullptr;
  }
  WaitForInputIdle(process_, timeout_ms);
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (GetTickCount64() < deadline && running()) {
    HostSearch search{process_id_, nullptr};
    EnumWindows(match_host_window, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      return search.found;
    }
    Sleep(100);
  }
  return nullptr;
}

bool LaunchedProgram::running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool LaunchedProgram::wait_for_exit(DWORD timeout_ms, DWORD* exit_code) const {
  if (process_ == nullptr || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) {
    return false;
  }
  GetExitCodeProcess(process_, exit_code);
  return true;
}
