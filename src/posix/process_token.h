// The process token as both Linux laptops answer the power port's token calls: one privilege known by
// name, the shutdown privilege, which the token enables or disables as AdjustTokenPrivileges asks.
#pragma once

#include "common/win_types.h"

class ProcessToken {
 public:
  static HANDLE current_process();  // GetCurrentProcess's pseudo handle

  BOOL open(HANDLE process, HANDLE* token);
  static BOOL lookup_privilege(const char16_t* system_name, const char16_t* name, LUID* luid);
  BOOL adjust(HANDLE token, BOOL disable_all, const TOKEN_PRIVILEGES* new_state);
  // True when `handle` was an open token, which it closes.
  bool close(HANDLE handle);

  bool shutdown_privilege_enabled() const { return privilege_enabled_; }
  int open_tokens() const { return open_tokens_; }

 private:
  int open_tokens_ = 0;
  bool privilege_enabled_ = false;
  char token_marker_ = 0;
};
