// Files in memory, a code page of single bytes and a shell that only remembers what it was asked.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ports/log_file_port.h"

class FakeLogFilePort : public LogFilePort {
 public:
  struct OpenFile {
    std::u16string path;
    bool open = true;
    int closes = 0;
  };
  struct ShellCall {
    std::u16string verb, file, parameters;
    bool had_directory;
    int show;
  };

  std::map<std::u16string, std::string> files;  // contents by path
  std::vector<ShellCall> shell_calls;
  std::u16string system_directory = u"C:\\Windows\\system32";
  DWORD create_error = 0;  // non-zero: creation fails with this error
  long disk_space = -1;    // bytes left; -1 without limit
  int close_calls = 0;
  int stale_uses = 0;      // writes and closes on a handle closed already (Windows may have reused it)
  int bytes_per_unit = 1;  // 2: a code page that doubles every character
  DWORD last_access = 0, last_share = 0, last_creation = 0, last_flags = 99;
  std::vector<std::unique_ptr<OpenFile>> handles;

  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share, DWORD creation, DWORD flags) override {
    last_access = access;
    last_share = share;
    last_creation = creation;
    last_flags = flags;
    if (create_error != 0) {
      last_error_ = create_error;
      return INVALID_HANDLE_VALUE;
    }
    files[path].clear();  // create or truncate
    handles.push_back(std::make_unique<OpenFile>(OpenFile{path}));
    return handles.back().get();
  }
  BOOL WriteFile(HANDLE handle, const void* bytes, DWORD count, DWORD* written) override {
    *written = 0;
    OpenFile* file = find(handle);
    if (file == nullptr || !file->open) {
      stale_uses += file != nullptr ? 1 : 0;
      last_error_ = 6;  // ERROR_INVALID_HANDLE
      return FALSE;
    }
    DWORD fits = count;
    if (disk_space >= 0 && static_cast<long>(count) > disk_space) {
      fits = static_cast<DWORD>(disk_space);
    }
    files[file->path].append(static_cast<const char*>(bytes), fits);
    if (disk_space >= 0) {
      disk_space -= static_cast<long>(fits);
    }
    *written = fits;
    if (fits < count) {
      last_error_ = 112;  // ERROR_DISK_FULL
      return FALSE;
    }
    return TRUE;
  }
  BOOL CloseHandle(HANDLE handle) override {
    ++close_calls;
    OpenFile* file = find(handle);
    if (file == nullptr) {
      return FALSE;
    }
    ++file->closes;
    if (!file->open) {
      ++stale_uses;
      return FALSE;
    }
    file->open = false;
    return TRUE;
  }
  int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* bytes,
                          int size) override {
    if (code_page != CP_ACP || flags != 0) {
      return 0;
    }
    int out = 0;
    for (int i = 0; i < length; ++i) {
      for (int copy = 0; copy < bytes_per_unit; ++copy) {
        if (out == size) {
          return 0;  // ERROR_INSUFFICIENT_BUFFER, with the buffer filled so far
        }
        bytes[out++] = text[i] < 0x100 ? static_cast<char>(text[i]) : '?';
      }
    }
    return out;
  }
  UINT GetSystemDirectoryW(char16_t* buffer, UINT size) override {
    if (system_directory.size() + 1 > size) {
      return static_cast<UINT>(system_directory.size() + 1);
    }
    std::copy(system_directory.begin(), system_directory.end(), buffer);
    buffer[system_directory.size()] = 0;
    return static_cast<UINT>(system_directory.size());
  }
  INT_PTR ShellExecuteW(HWND, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                        const char16_t* directory, int show) override {
    shell_calls.push_back({verb, file, parameters, directory != nullptr, show});
    return 42;
  }
  DWORD GetLastError() override { return last_error_; }
  DWORD FormatMessageW(DWORD, DWORD error, char16_t* buffer, DWORD size) override {
    const std::u16string text = error == 5     ? u"Access is denied.\r\n"
                                : error == 112 ? u"There is not enough space on the disk.\r\n"
                                               : u"";
    if (text.size() + 1 > size) {
      return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return static_cast<DWORD>(text.size());
  }

  int open_count() const {
    int count = 0;
    for (const auto& file : handles) {
      count += file->open ? 1 : 0;
    }
    return count;
  }

 private:
  OpenFile* find(HANDLE handle) {
    for (const auto& file : handles) {
      if (file.get() == handle) {
        return file.get();
      }
    }
    return nullptr;
  }
  DWORD last_error_ = 0;
};
