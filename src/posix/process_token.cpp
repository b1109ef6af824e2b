#include "posix/process_token.h"

#include <string_view>

namespace {

constexpr LUID kShutdownPrivilegeLuid = {19, 0};  // SE_SHUTDOWN_PRIVILEGE

}  // namespace

HANDLE ProcessToken::current_process() {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

BOOL ProcessToken::open(HANDLE process, HANDLE* token) {
  if (token == nullptr) {
    return FALSE;
  }
  *token = nullptr;
  if (process != current_process()) {
    return FALSE;
  }
  ++open_tokens_;
  *token = &token_marker_;
  return TRUE;
}

BOOL ProcessToken::lookup_privilege(const char16_t* system_name, const char16_t* name, LUID* luid) {
  if (system_name != nullptr || name == nullptr || luid == nullptr ||
      std::u16string_view(name) != u"SeShutdownPrivilege") {
    return FALSE;  // the only privilege this machine knows by name
  }
  *luid = kShutdownPrivilegeLuid;
  return TRUE;
}

BOOL ProcessToken::adjust(HANDLE token, BOOL disable_all, const TOKEN_PRIVILEGES* new_state) {
  if (token != &token_marker_ || open_tokens_ == 0) {
    return FALSE;
  }
  if (disable_all) {
    privilege_enabled_ = false;
    return TRUE;
  }
  if (new_state == nullptr || new_state->PrivilegeCount != 1) {
    return FALSE;
  }
  const LUID_AND_ATTRIBUTES& entry = new_state->Privileges[0];
  if (entry.Luid.LowPart == kShutdownPrivilegeLuid.LowPart &&
      entry.Luid.HighPart == kShutdownPrivilegeLuid.HighPart) {
    privilege_enabled_ = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
  }
  return TRUE;
}

bool ProcessToken::close(HANDLE handle) {
  if (handle == &token_marker_ && open_tokens_ > 0) {
    --open_tokens_;
    return true;
  }
  return false;
}
