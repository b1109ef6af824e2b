#include "win32/system_library.h"

#include <cwchar>

namespace {

// Only the full path keeps a planted copy beside the program or in the current directory from
// being loaded; LOAD_LIBRARY_SEARCH_SYSTEM32 would do the same but is missing on an unpatched Vista.
HMODULE load_from_system_directory(const wchar_t* file_name) {
  wchar_t path[MAX_PATH];
  const UINT directory_length = GetSystemDirectoryW(path, MAX_PATH);
  const size_t name_length = std::wcslen(file_name);
  // Also refuses a directory that did not fit, for which the call returns the size it needs.
  if (directory_length == 0 || directory_length + 1 + name_length >= MAX_PATH) {
    return nullptr;
  }
  path[directory_length] = L'\\';
  std::wmemcpy(path + directory_length + 1, file_name, name_length + 1);
  return LoadLibraryW(path);
}

}  // namespace

void SystemLibrary::FreeModule::operator()(HMODULE module) const {
  FreeLibrary(module);
}

FARPROC SystemLibrary::lookup(const char* name) {
  if (!load_tried_) {
    load_tried_ = true;
    *module_.receive() = load_from_system_directory(file_name_);
  }
  return module_.holds() ? GetProcAddress(module_.get(), name) : nullptr;
}
