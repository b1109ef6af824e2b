#include "log_directory.h"

#include <algorithm>

namespace {

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class ScopedFind {
 public:
  ScopedFind(const std::wstring& pattern, WIN32_FIND_DATAW* found)
      : find_(FindFirstFileW(pattern.c_str(), found)) {}
  ~ScopedFind() {
    if (find_ != INVALID_HANDLE_VALUE) {
      FindClose(find_);
    }
  }
  ScopedFind(const ScopedFind&) = delete;
  ScopedFind& operator=(const ScopedFind&) = delete;
  bool found() const { return find_ != INVALID_HANDLE_VALUE; }
  bool next(WIN32_FIND_DATAW* found) const { return FindNextFileW(find_, found) != FALSE; }

 private:
  HANDLE find_;
};

}  // namespace

LogDirectory::LogDirectory() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) {
    return;
  }
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::wstring candidate = std::wstring(temp) + L"chargewright-logs-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      return;
    }
  }
}

LogDirectory::~LogDirectory() {
  remove();
}

std::vector<std::wstring> LogDirectory::file_names() const {
  std::vector<std::wstring> names;
  if (path_.empty()) {
    return names;
  }
  WIN32_FIND_DATAW found = {};
  const ScopedFind find(path_ + L"\\*", &found);
  for (bool more = find.found(); more; more = find.next(&found)) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(found.cFileName);
    }
  }
  return names;
}

std::optional<std::string> LogDirectory::read_file(const std::wstring& name) const {
  // The program holds the log open with FILE_SHARE_READ; a reader must in turn allow its writing.
  const ScopedHandle file(CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::string content;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) {
    content.append(chunk, read);
  }
  return content;
}

size_t LogDirectory::complete_lines(const std::wstring& name) const {
  const std::optional<std::string> text = read_file(name);
  return text ? static_cast<size_t>(std::count(text->begin(), text->end(), '\n')) : 0;
}

bool LogDirectory::remove() {
  if (path_.empty()) {
    return true;
  }
  for (const std::wstring& name : file_names()) {
    DeleteFileW((path_ + L"\\" + name).c_str());
  }
  if (!RemoveDirectoryW(path_.c_str()) && GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  path_.clear();
  return true;
}
