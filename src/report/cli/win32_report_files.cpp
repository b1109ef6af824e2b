#include "report/cli/win32_report_files.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/scoped_owner.h"
#include "report/cli/read_stream.h"
#include "report/cli/win32_text.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
// The volume and file index that name a file whatever path reaches it; false when it cannot be opened.
bool file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
  // No access asked for: the file's attributes can be read even while another program writes it.
  const auto file = scoped_owner<HANDLE>(
      CreateFileW(wide_of_utf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
      INVALID_HANDLE_VALUE, [](HANDLE open) { CloseHandle(open); });
  return file.holds() && GetFileInformationByHandle(file.get(), &identity) != FALSE;
}

}  // namespace

ReportFiles::Kind Win32ReportFiles::kind_of(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide_of_utf8(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return Kind::missing;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Kind::folder;
  }
  return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? Kind::other : Kind::file;
}

bool Win32ReportFiles::read_file(const std::string& path, size_t limit, std::string& bytes,
                                 std::string& error) {
  const std::unique_ptr<std::FILE, FileCloser> file(_wfopen(wide_of_utf8(path).c_str(), L"rb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  return read_stream(file.get(), limit, bytes, error);
}

bool Win32ReportFiles::list_folder(const std::string& path, std::vector<std::string>& names,
                                   std::string& error) {
  std::wstring pattern = wide_of_utf8(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW found = {};
  const HANDLE first = FindFirstFileW(pattern.c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) {
      return true;  // an empty folder (a root has no "." entry)
    }
    error = windows_error_text(code);
    return false;
  }
  const std::unique_ptr<void, FindCloser> find(first);
  do {
    const std::string name = utf8_of_wide(found.cFileName);
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  } while (FindNextFileW(first, &found));
  return true;
}

bool Win32ReportFiles::write_file(const std::string& path, std::string_view bytes, std::string& error) {
  std::unique_ptr<std::FILE, FileCloser> file(_wfopen(wide_of_utf8(path).c_str(), L"wb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool Win32ReportFiles::same_file(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first = {}, second = {};
  return file_identity(a, first) && file_identity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
