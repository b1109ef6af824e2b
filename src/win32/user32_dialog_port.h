// The panel's window-system operations, passed straight to User32.
#pragma once

#include "ports/dialog_port.h"

class User32DialogPort final : public DialogPort {
 public:
  BOOL SetDlgItemTextW(HWND dialog, int id, const char16_t* text) override;
  BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed) override;
  UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed) override;
  UINT IsDlgButtonChecked(HWND dialog, int id) override;
  HWND GetDlgItem(HWND dialog, int id) override;
  BOOL EnableWindow(HWND window, BOOL enable) override;
  BOOL SetWindowTextW(HWND window, const char16_t* text) override;
  UINT_PTR SetTimer(HWND window, UINT_PTR timer_id, UINT elapse_ms) override;
  BOOL KillTimer(HWND window, UINT_PTR timer_id) override;
  void PostQuitMessage(int exit_code) override;
  LRESULT SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) override;
};
