// A DLL from the system directory, loaded on first use and freed with its owner.
#pragma once

#include "common/win_types.h"

class SystemLibrary {
 public:
  // `file_name` must outlive the owner; nothing is loaded until the first lookup.
  explicit constexpr SystemLibrary(const wchar_t* file_name) : file_name_(file_name) {}
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The exported function, or null when the library or the function is missing.
  template <typename Function>
  Function* function(const char* name) {
    // void (*)() converts to and from any function pointer type without a cast-function-type warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(lookup(name)));
  }

 private:
  FARPROC lookup(const char* name);

  const wchar_t* file_name_;
  HMODULE module_ = nullptr;
  bool load_tried_ = false;
};
