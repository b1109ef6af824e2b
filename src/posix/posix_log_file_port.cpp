#include "posix/posix_log_file_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "posix/ansi_code_page.h"
#include "posix/owned_descriptor.h"
#include "posix/text_convert.h"
#include "text/wide_text.h"

namespace {

constexpr INT_PTR kShellStarted = 42;  // any value above 32 means success
constexpr INT_PTR SE_ERR_FNF_CODE = 2;
constexpr INT_PTR SE_ERR_NOASSOC_CODE = 31;

constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER_FLAG = 0x100;

struct SystemMessage {
  DWORD error;
  const char16_t* text;
};

// Windows' English texts for the errors this port reports.
constexpr SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, u"The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified.\r\n"},
    {ERROR_TOO_MANY_OPEN_FILES, u"The system cannot open the file.\r\n"},
    {ERROR_ACCESS_DENIED, u"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, u"The handle is invalid.\r\n"},
    {ERROR_GEN_FAILURE, u"A device attached to the system is not functioning.\r\n"},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect.\r\n"},
    {ERROR_DISK_FULL, u"There is not enough space on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, u"The data area passed to a system call is too small.\r\n"},
    {ERROR_ALREADY_EXISTS, u"Cannot create a file when that file already exists.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, u"The filename or extension is too long.\r\n"},
    {ERROR_FILE_TOO_LARGE, u"The file size exceeds the limit allowed and cannot be saved.\r\n"},
    {ERROR_INVALID_FLAGS, u"Invalid flags.\r\n"},
};

DWORD windows_error_of(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // CreateFileW on a directory's name
      return ERROR_ACCESS_DENIED;
    case ENOENT:
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EFBIG:  // past the file size limit (ulimit -f) or the file system's largest file
      return ERROR_FILE_TOO_LARGE;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    default:
      return ERROR_GEN_FAILURE;
  }
}

// Windows compares file names and verbs without regard to case.
bool same_ignoring_case(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() && wide_equal_ignoring_case(a.c_str(), b.c_str());
}

// A Windows path as this file system names it: backslashes separate directories.
std::string native_path(const std::u16string& path) {
  std::u16string separated = path;
  for (char16_t& c : separated) {
    if (c == u'\\') {
      c = u'/';
    }
  }
  return to_utf8(separated);
}

// A regular file's first `limit` bytes; false when it cannot be read. `cut`: it has more.
bool read_file_start(const std::string& path, size_t limit, std::string& bytes, bool& cut) {
  const auto file = owned_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  bytes.clear();
  char chunk[8192];
  for (;;) {
    const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      cut = false;
      return true;
    }
    bytes.append(chunk, static_cast<size_t>(got));
    if (bytes.size() > limit) {
      bytes.resize(limit);
      cut = true;
      return true;
    }
  }
}

// An existing log reopened to be written again from its start. The program may run as root (for
// the wake alarm) in a folder others can write to, where the name may have been planted: a link is
// never followed, a device or FIFO never opened, and a file that has a second name elsewhere is not
// truncated. -1 with errno set when the name cannot be replaced safely.
int reopen_existing_log(const std::string& path, int mode) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0) {
    return -1;
  }
  if (!S_ISREG(named.st_mode) || named.st_nlink != 1) {
    errno = EACCES;
    return -1;
  }
  // O_NONBLOCK: should the name have become a FIFO since, opening it must not wait for a reader.
  auto file = owned_descriptor(::open(path.c_str(), mode | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.holds()) {
    errno = errno == ELOOP ? EACCES : errno;  // a link put there since the look
    return -1;
  }
  struct stat opened {};
  if (::fstat(file.get(), &opened) != 0) {
    return -1;
  }
  if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino || !S_ISREG(opened.st_mode) ||
      opened.st_nlink != 1) {
    errno = EACCES;
    return -1;
  }
  if (::ftruncate(file.get(), 0) != 0) {
    return -1;
  }
  return file.release();  // O_NONBLOCK does nothing to a regular file's reads and writes
}

HANDLE handle_of_slot(size_t slot) {
  // Kernel handles are multiples of four, never 0 nor INVALID_HANDLE_VALUE.
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(4 * (slot + 1)));
}

}  // namespace

PosixLogFilePort::~PosixLogFilePort() {
  for (int& descriptor : descriptors_) {
    if (descriptor >= 0) {
      ::close(descriptor);
      descriptor = -1;
    }
  }
}

int* PosixLogFilePort::slot_of(HANDLE handle) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value == 0 || value % 4 != 0 || value / 4 > kMaxOpenFiles) {
    return nullptr;
  }
  int& descriptor = descriptors_[value / 4 - 1];
  return descriptor >= 0 ? &descriptor : nullptr;
}

HANDLE PosixLogFilePort::CreateFileW(const char16_t* path, DWORD access, DWORD /*share_mode*/, DWORD creation,
                                     DWORD /*flags_and_attributes*/) {
  // Only what the logs ask for; readers are never locked out here, which FILE_SHARE_READ allows.
  if (path == nullptr || creation != CREATE_ALWAYS || (access & GENERIC_WRITE) == 0) {
    last_error_ = ERROR_INVALID_PARAMETER;
    return INVALID_HANDLE_VALUE;
  }
  size_t free_slot = kMaxOpenFiles;
  for (size_t i = 0; i < kMaxOpenFiles && free_slot == kMaxOpenFiles; ++i) {
    free_slot = descriptors_[i] < 0 ? i : free_slot;
  }
  if (free_slot == kMaxOpenFiles) {
    last_error_ = ERROR_TOO_MANY_OPEN_FILES;  // before anything is created or truncated
    return INVALID_HANDLE_VALUE;
  }
  const std::string native = native_path(path);
  const int mode = (access & GENERIC_READ) != 0 ? O_RDWR : O_WRONLY;
  // CREATE_ALWAYS succeeds either way, and says with ERROR_ALREADY_EXISTS that it truncated a file.
  // The exclusive create never follows a link: any name already there, a dangling link too, is EEXIST.
  bool existed = false;
  int descriptor = ::open(native.c_str(), mode | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (descriptor < 0 && errno == EEXIST) {
    existed = true;
    descriptor = reopen_existing_log(native, mode);
  }
  if (descriptor < 0) {
    last_error_ = windows_error_of(errno);
    return INVALID_HANDLE_VALUE;
  }
  descriptors_[free_slot] = descriptor;
  last_error_ = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
  return handle_of_slot(free_slot);
}

BOOL PosixLogFilePort::WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  if (written != nullptr) {
    *written = 0;
  }
  const int* descriptor = slot_of(file);
  if (descriptor == nullptr) {
    last_error_ = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (bytes == nullptr && count > 0) {
    last_error_ = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  const char* next = static_cast<const char*>(bytes);
  DWORD done = 0;
  while (done < count) {
    const ssize_t put = ::write(*descriptor, next + done, count - done);
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      last_error_ = put < 0 ? windows_error_of(errno) : ERROR_DISK_FULL;
      if (written != nullptr) {
        *written = done;
      }
      return FALSE;
    }
    done += static_cast<DWORD>(put);
  }
  if (written != nullptr) {
    *written = done;
  }
  return TRUE;
}

BOOL PosixLogFilePort::CloseHandle(HANDLE handle) {
  int* descriptor = slot_of(handle);
  if (descriptor == nullptr) {
    last_error_ = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  // The descriptor is gone after close() whatever it reports, so the handle is too.
  const int result = ::close(*descriptor);
  *descriptor = -1;
  if (result != 0 && errno != EINTR) {
    last_error_ = windows_error_of(errno);
    return FALSE;
  }
  return TRUE;
}

int PosixLogFilePort::WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length,
                                          char* bytes, int size) {
  if (flags != 0) {
    last_error_ = ERROR_INVALID_FLAGS;
    return 0;
  }
  if (code_page != CP_ACP || text == nullptr || length == 0 || length < -1 || size < 0 ||
      (size > 0 && bytes == nullptr)) {
    last_error_ = ERROR_INVALID_PARAMETER;
    return 0;
  }
  // -1: up to and including the terminator.
  const size_t units =
      length == -1 ? std::char_traits<char16_t>::length(text) + 1 : static_cast<size_t>(length);
  if (size == 0) {
    return static_cast<int>(units);  // the size needed: one byte per unit in this code page
  }
  const size_t capacity = static_cast<size_t>(size);
  for (size_t i = 0; i < units; ++i) {
    if (i == capacity) {
      last_error_ = ERROR_INSUFFICIENT_BUFFER;  // the buffer holds what fitted, nothing more
      return 0;
    }
    bytes[i] = static_cast<char>(ansi_byte_of(text[i]).value_or('?'));
  }
  return static_cast<int>(units);
}

UINT PosixLogFilePort::GetSystemDirectoryW(char16_t* buffer, UINT size) {
  const size_t length = std::char_traits<char16_t>::length(kSimulatedSystemDirectory);
  if (buffer == nullptr || size < length + 1) {
    return static_cast<UINT>(length + 1);  // the size needed, terminator included
  }
  for (size_t i = 0; i <= length; ++i) {
    buffer[i] = kSimulatedSystemDirectory[i];
  }
  return static_cast<UINT>(length);
}

INT_PTR PosixLogFilePort::ShellExecuteW(HWND /*owner*/, const char16_t* verb, const char16_t* file,
                                        const char16_t* parameters, const char16_t* /*directory*/,
                                        int /*show*/) {
  const std::u16string notepad = std::u16string(kSimulatedSystemDirectory) + u"\\notepad.exe";
  const bool opens = verb == nullptr || same_ignoring_case(verb, u"open");
  if (!opens || file == nullptr || !same_ignoring_case(file, notepad)) {
    return SE_ERR_NOASSOC_CODE;  // the simulated laptop has nothing else to start
  }
  // Notepad takes its whole command line as the file name, quotes removed.
  std::u16string name = parameters != nullptr ? parameters : u"";
  while (!name.empty() && (name.front() == u' ' || name.front() == u'"')) {
    name.erase(name.begin());
  }
  while (!name.empty() && (name.back() == u' ' || name.back() == u'"')) {
    name.pop_back();
  }
  if (name.empty()) {
    viewer_.show(u"Untitled", "", false);
    return kShellStarted;
  }
  std::string bytes;
  bool cut = false;
  if (!read_file_start(native_path(name), kMaxViewedBytes, bytes, cut)) {
    viewer_.show_missing(name);
    return SE_ERR_FNF_CODE;
  }
  viewer_.show(name, bytes, cut);
  return kShellStarted;
}

DWORD PosixLogFilePort::FormatMessageW(DWORD flags, DWORD error, char16_t* buffer, DWORD size) {
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER_FLAG) != 0) {
    last_error_ = ERROR_INVALID_PARAMETER;
    return 0;
  }
  for (const SystemMessage& message : kSystemMessages) {
    if (message.error != error) {
      continue;
    }
    const size_t length = std::char_traits<char16_t>::length(message.text);
    if (buffer == nullptr || size < length + 1) {
      last_error_ = ERROR_INSUFFICIENT_BUFFER;
      return 0;
    }
    for (size_t i = 0; i <= length; ++i) {
      buffer[i] = message.text[i];
    }
    return static_cast<DWORD>(length);
  }
  last_error_ = ERROR_MR_MID_NOT_FOUND;
  return 0;
}
