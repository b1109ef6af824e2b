// Files, text conversion and the shell, as the test logs reach them.
#pragma once

#include "common/win_types.h"

#ifndef _WIN32
constexpr DWORD CREATE_ALWAYS = 2;
constexpr UINT CP_ACP = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;
#endif

class LogFilePort {
 public:
  virtual ~LogFilePort() = default;
  virtual HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                             DWORD flags_and_attributes) = 0;
  virtual BOOL WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
  virtual int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* bytes,
                                  int size) = 0;
  virtual UINT GetSystemDirectoryW(char16_t* buffer, UINT size) = 0;
  // ShellExecuteW's result: greater than 32 on success.
  virtual INT_PTR ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file,
                                const char16_t* parameters, const char16_t* directory, int show) = 0;
  virtual DWORD GetLastError() = 0;
  // FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, no source, error, language 0,
  // buffer, size, no arguments): the system's text for an error, or 0 units without one.
  virtual DWORD FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) = 0;
};
