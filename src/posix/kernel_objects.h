// Events and threads as the kernel offers them, on POSIX threads: handles, manual- and auto-reset
// events, threads that can be waited for, and waits with a time limit. Safe to call from any thread.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

#include "common/com_types.h"

class KernelObjects {
 public:
  KernelObjects() = default;
  ~KernelObjects();  // waits for the threads still running: they may use this table
  KernelObjects(const KernelObjects&) = delete;
  KernelObjects& operator=(const KernelObjects&) = delete;

  HANDLE create_event(bool manual_reset, bool initially_signalled);
  HANDLE create_thread(LPTHREAD_START_ROUTINE start, void* parameter);
  bool set_event(HANDLE event);
  DWORD wait(HANDLE handle, DWORD milliseconds);
  bool close(HANDLE handle);

  int open_handles() const;
  int running_threads() const;

 private:
  struct Object;

  std::shared_ptr<Object> find(HANDLE handle) const;

  mutable std::mutex mutex_;
  std::map<HANDLE, std::shared_ptr<Object>> objects_;
  uintptr_t next_handle_ = 0x7000;
};
