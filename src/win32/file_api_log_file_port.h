// Test log files, ANSI conversion and the shell, straight through to Windows.
#pragma once

#include "ports/log_file_port.h"

class FileApiLogFilePort final : public LogFilePort {
 public:
  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) override;
  BOOL CloseHandle(HANDLE handle) override;
  int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* bytes,
                          int size) override;
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override;
  INT_PTR ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                        const char16_t* directory, int show) override;
  DWORD GetLastError() override;
  DWORD FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) override;
};
