// A DLL from the system directory, loaded on first use and freed with its owner.
#pragma once

#include "common/scoped_owner.h"
#include "common/win_types.h"

class SystemLibrary {
 public:
  // `file_name` must outlive the owner; nothing is loaded until the first lookup.
  explicit SystemLibrary(const wchar_t* file_name) : file_name_(file_name) {}

  // The exported function, or null when the library or the function is missing.
  template <typename Function>
  Function* function(const char* name) {
    // void (*)() converts to and from any function pointer type without a cast-function-type warning.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(lookup(name)));
  }

 private:
  FARPROC lookup(const char* name);

  struct FreeModule {
    void operator()(HMODULE module) const;
  };

  const wchar_t* file_name_;
  ScopedOwner<HMODULE, FreeModule> module_{nullptr, nullptr, FreeModule{}};
  bool load_tried_ = false;
};
