// The window-system operations the panel's logic uses, with their User32/Kernel32 shapes.
#pragma once

#include "common/win_types.h"

class DialogPort {
 public:
  virtual ~DialogPort() = default;
  virtual BOOL SetDlgItemTextW(HWND dialog, int id, const char16_t* text) = 0;
  virtual BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed) = 0;
  virtual UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed) = 0;
  virtual UINT IsDlgButtonChecked(HWND dialog, int id) = 0;
  virtual HWND GetDlgItem(HWND dialog, int id) = 0;
  virtual BOOL EnableWindow(HWND window, BOOL enable) = 0;
  virtual BOOL SetWindowTextW(HWND window, const char16_t* text) = 0;
  virtual UINT_PTR SetTimer(HWND window, UINT_PTR timer_id, UINT elapse_ms) = 0;
  virtual BOOL KillTimer(HWND window, UINT_PTR timer_id) = 0;
  virtual void PostQuitMessage(int exit_code) = 0;
  virtual LRESULT SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // Modal: returns when the user closes the box; the panel's timer keeps ticking meanwhile.
  virtual int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) = 0;
};
