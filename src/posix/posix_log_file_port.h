// The test logs' files on Linux, answered the way Windows would: relative to the current directory,
// Windows error codes and texts, the simulated laptop's code page and system directory, and Notepad
// as whatever window the host shows documents in.
#pragma once

#include <array>

#include "ports/log_file_port.h"
#include "posix/document_window.h"

// The simulated laptop's system directory, where its Notepad is.
inline constexpr char16_t kSimulatedSystemDirectory[] = u"C:\\Windows\\system32";

class PosixLogFilePort final : public LogFilePort {
 public:
  static constexpr size_t kMaxOpenFiles = 16;
  static constexpr size_t kMaxViewedBytes = 4 * 1024 * 1024;

  explicit PosixLogFilePort(DocumentWindow& viewer) : viewer_(viewer) {}
  ~PosixLogFilePort() override;  // closes what is still open
  PosixLogFilePort(const PosixLogFilePort&) = delete;
  PosixLogFilePort& operator=(const PosixLogFilePort&) = delete;

  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) override;
  BOOL CloseHandle(HANDLE handle) override;
  int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* bytes,
                          int size) override;
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override;
  INT_PTR ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                        const char16_t* directory, int show) override;
  DWORD GetLastError() override { return last_error_; }
  DWORD FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) override;

 private:
  int* slot_of(HANDLE handle);  // the descriptor a handle stands for, or nullptr
  void open_in_viewer(const char16_t* parameters);

  DocumentWindow& viewer_;
  std::array<int, kMaxOpenFiles> descriptors_ = [] {
    std::array<int, kMaxOpenFiles> none{};
    none.fill(-1);
    return none;
  }();
  DWORD last_error_ = 0;
};
