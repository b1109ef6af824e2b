// The test logs' files, with every line that reaches a log also printed to a stream, so a run over
// SSH shows its rows as they are written.
#pragma once

#include <cstdio>

#include "ports/log_file_port.h"
#include "posix/document_window.h"

class EchoingLogFilePort final : public LogFilePort {
 public:
  EchoingLogFilePort(LogFilePort& files, std::FILE* echo) : files_(files), echo_(echo) {}

  // Off while the sleep cycles run: their logs are summed up instead.
  void set_echo(bool on) { echoing_ = on; }

  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override {
    return files_.CreateFileW(path, access, share_mode, creation, flags_and_attributes);
  }
  // The line as written, with the CR of its CR LF left out on the terminal.
  BOOL WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) override;
  BOOL CloseHandle(HANDLE handle) override { return files_.CloseHandle(handle); }
  int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* bytes,
                          int size) override {
    return files_.WideCharToMultiByte(code_page, flags, text, length, bytes, size);
  }
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override {
    return files_.GetSystemDirectoryW(buffer, size);
  }
  INT_PTR ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                        const char16_t* directory, int show) override {
    return files_.ShellExecuteW(owner, verb, file, parameters, directory, show);
  }
  DWORD GetLastError() override { return files_.GetLastError(); }
  DWORD FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) override {
    return files_.FormatMessageW(flags, error, buffer, size);
  }

 private:
  LogFilePort& files_;
  std::FILE* echo_;
  bool echoing_ = true;
};

// Where "Notepad" opens a finished log when nobody is there to read it: nowhere.
class NoDocumentWindow final : public DocumentWindow {
 public:
  void show(const std::u16string&, const std::string&, bool) override {}
  void show_missing(const std::u16string&) override {}
};
