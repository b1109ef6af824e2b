#include "win32/user32_dialog_port.h"

#include "win32/wide_cast.h"

BOOL User32DialogPort::SetDlgItemTextW(HWND dialog, int id, const char16_t* text) {
  return ::SetDlgItemTextW(dialog, id, as_wchar(text));
}

BOOL User32DialogPort::SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed) {
  return ::SetDlgItemInt(dialog, id, value, is_signed);
}

UINT User32DialogPort::GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed) {
  return ::GetDlgItemInt(dialog, id, translated, is_signed);
}

UINT User32DialogPort::IsDlgButtonChecked(HWND dialog, int id) {
  return ::IsDlgButtonChecked(dialog, id);
}

HWND User32DialogPort::GetDlgItem(HWND dialog, int id) {
  return ::GetDlgItem(dialog, id);
}

BOOL User32DialogPort::EnableWindow(HWND window, BOOL enable) {
  return ::EnableWindow(window, enable);
}

BOOL User32DialogPort::SetWindowTextW(HWND window, const char16_t* text) {
  return ::SetWindowTextW(window, as_wchar(text));
}

UINT_PTR User32DialogPort::SetTimer(HWND window, UINT_PTR timer_id, UINT elapse_ms) {
  return ::SetTimer(window, timer_id, elapse_ms, nullptr);
}

BOOL User32DialogPort::KillTimer(HWND window, UINT_PTR timer_id) {
  return ::KillTimer(window, timer_id);
}

void User32DialogPort::PostQuitMessage(int exit_code) {
  ::PostQuitMessage(exit_code);
}

LRESULT User32DialogPort::SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessageW(window, message, wparam, lparam);
}

int User32DialogPort::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
  return ::MessageBoxW(owner, as_wchar(text), as_wchar(caption), type);
}
