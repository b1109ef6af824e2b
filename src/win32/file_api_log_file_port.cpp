#include "win32/file_api_log_file_port.h"

#include <shellapi.h>

#include "win32/wide_cast.h"

HANDLE FileApiLogFilePort::CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                                       DWORD flags_and_attributes) {
  return ::CreateFileW(as_wchar(path), access, share_mode, nullptr, creation, flags_and_attributes, nullptr);
}

BOOL FileApiLogFilePort::WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  return ::WriteFile(file, bytes, count, written, nullptr);
}

BOOL FileApiLogFilePort::CloseHandle(HANDLE handle) {
  return ::CloseHandle(handle);
}

int FileApiLogFilePort::WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length,
                                            char* bytes, int size) {
  return ::WideCharToMultiByte(code_page, flags, as_wchar(text), length, bytes, size, nullptr, nullptr);
}

UINT FileApiLogFilePort::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  return ::GetSystemDirectoryW(as_wchar(buffer), size);
}

INT_PTR FileApiLogFilePort::ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file,
                                          const char16_t* parameters, const char16_t* directory, int show) {
  return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, as_wchar(verb), as_wchar(file),
                                                   as_wchar(parameters), as_wchar(directory), show));
}

DWORD FileApiLogFilePort::GetLastError() {
  return ::GetLastError();
}

DWORD FileApiLogFilePort::FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) {
  return ::FormatMessageW(flags, nullptr, error, 0, as_wchar(buffer), size, nullptr);
}
