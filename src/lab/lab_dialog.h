// The panel's dialog with nobody to see it: the controls keep their texts and states, the timers run
// on a monotonic clock, and a message box is a line on standard error that nobody has to close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/dialog_port.h"
#include "posix/monotonic_clock.h"

class LabDialog final : public DialogPort {
 public:
  LabDialog(MonotonicClock& clock, std::FILE* notices) : clock_(clock), notices_(notices) {}

  HWND host_window() { return reinterpret_cast<HWND>(&host_marker_); }
  HWND panel_window() { return reinterpret_cast<HWND>(&panel_marker_); }
  using PanelProcedure = std::function<INT_PTR(UINT message, WPARAM wparam, LPARAM lparam)>;
  void attach(PanelProcedure procedure) { procedure_ = std::move(procedure); }

  // What a tester would do with the mouse: tick a check box.
  void set_checked(int id, bool checked) { controls_[id].checked = checked; }

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
  // Written to the notices stream at once and kept; IDOK as if the user had closed it.
  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) override;

  // The earliest due time of a timer, and the WM_TIMER messages due by now.
  std::optional<uint64_t> next_timer_due() const;
  void run_due_timers();

  const std::vector<std::string>& messages() const { return messages_; }
  bool quit_posted() const { return quit_posted_; }

 private:
  struct Control {
    std::u16string text;
    bool checked = false;
  };
  struct Timer {
    uint64_t period_ms = 0;
    uint64_t due_ms = 0;
  };

  MonotonicClock& clock_;
  std::FILE* notices_;
  PanelProcedure procedure_;
  std::map<int, Control> controls_;
  std::map<UINT_PTR, Timer> timers_;
  std::vector<std::string> messages_;
  bool quit_posted_ = false;
  char host_marker_ = 0;
  char panel_marker_ = 0;
};
