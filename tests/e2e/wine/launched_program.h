// One run of Chargewright.exe, started by the driver and watched from outside.
#pragma once

#include <windows.h>

#include <string>

class LaunchedProgram {
 public:
  // An empty `current_directory` lets the program inherit the driver's.
  LaunchedProgram(const std::wstring& exe_path, const std::wstring& current_directory);
  ~LaunchedProgram();
  LaunchedProgram(const LaunchedProgram&) = delete;
  LaunchedProgram& operator=(const LaunchedProgram&) = delete;

  bool started() const { return process_ != nullptr; }
  // Waits until the process shows its top-level window of class "Chargewright"; null on time-out.
  HWND wait_for_host_window(DWORD timeout_ms);
  bool running() const;
  // Waits for the process to end; true with its exit code, false when it is still running.
  bool wait_for_exit(DWORD timeout_ms, DWORD* exit_code) const;
  DWORD ui_thread_id() const { return thread_id_; }
  DWORD process_id() const { return process_id_; }

 private:
  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD process_id_ = 0;
  DWORD thread_id_ = 0;
};
