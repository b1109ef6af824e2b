// The terminal's dialog manager: the panel's controls, their texts and states, keyboard focus and
// timers, offered to the logic as the Windows dialog operations. It draws nothing itself.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ports/dialog_port.h"
#include "posix/monotonic_clock.h"
#include "terminal/cell_layout.h"

struct ControlState {
  std::u16string text;
  bool enabled = true;
  bool checked = false;
};

// The screen's part in a message box: drawing it over the panel and reading the user's answer.
class MessageBoxScreen {
 public:
  virtual ~MessageBoxScreen() = default;
  // Shows the box and waits at most `wait_ms` for one input event; true once the user has closed the box.
  virtual bool show_and_wait(const std::u16string& caption, const std::u16string& text, int wait_ms) = 0;
};

class TerminalDialog final : public DialogPort {
 public:
  explicit TerminalDialog(MonotonicClock& clock);

  HWND host_window() { return reinterpret_cast<HWND>(&host_marker_); }
  HWND panel_window() { return reinterpret_cast<HWND>(&panel_marker_); }

  // The panel's dialog procedure: every message for the panel goes there.
  using PanelProcedure = std::function<INT_PTR(UINT message, WPARAM wparam, LPARAM lparam)>;
  void attach(PanelProcedure procedure) { procedure_ = std::move(procedure); }
  // What the system does with a message the panel's procedure declines (returns FALSE for).
  using DefaultProcessing = std::function<LRESULT(UINT message, WPARAM wparam, LPARAM lparam)>;
  void set_default_processing(DefaultProcessing processing) { default_processing_ = std::move(processing); }
  // WM_INITDIALOG at creation; like the Windows dialog manager, focus then goes to the first tab stop.
  void create_panel();

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
  // Modal as on Windows: returns IDOK once the box is closed, and until then runs a loop of its own in
  // which the panel's timers keep ticking; input reaches only the box. 0 without a screen to show it on.
  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) override;
  void set_message_box_screen(MessageBoxScreen* screen) { box_screen_ = screen; }

  // Dialog keyboard and mouse handling, as Windows' IsDialogMessage does it.
  void focus_next();
  void focus_previous();
  void press_enter();                       // clicks the focused push button, otherwise command 1 (IDOK)
  void press_escape();                      // command 2 (IDCANCEL)
  void press_space();                       // clicks the focused push button or toggles the focused check box
  bool press_mnemonic(char16_t letter);     // clicks the control whose '&' letter this is
  void type_character(char16_t character);  // digits only, into a focused enabled number field
  void press_backspace();
  void click(int panel_row, int panel_column);

  // Timers: the earliest due time, and the WM_TIMER messages due by now.
  std::optional<uint64_t> next_timer_due() const;
  void run_due_timers();
  // How long to wait for input before the next timer is due; `idle_ms` without a timer.
  int milliseconds_to_next_timer(int idle_ms) const;

  bool quit_posted() const { return quit_posted_; }
  int exit_code() const { return exit_code_; }

  const PanelLayout& layout() const { return layout_; }
  const ControlState& control(size_t index) const { return controls_[index]; }
  std::optional<size_t> focus() const { return focus_; }
  bool focus_in_number_field() const;
  const std::u16string& host_title() const { return host_title_; }

 private:
  struct Timer {
    UINT_PTR id = 0;
    uint64_t period_ms = 0;
    uint64_t due_ms = 0;
    bool set = false;
  };

  std::optional<size_t> index_of(int id) const;
  std::optional<size_t> index_of(HWND window) const;
  bool is_tab_stop(size_t index) const;
  void move_focus(int direction);
  void set_focus(size_t index);
  void activate(size_t index);  // a click on a push button or check box
  void send_command(int id);

  MonotonicClock& clock_;
  PanelLayout layout_;
  std::array<ControlState, kControlCount> controls_;
  std::optional<size_t> focus_;
  bool replace_on_type_ = false;  // a number field reached by Tab has its text selected
  std::array<Timer, 4> timers_{};
  std::u16string host_title_;
  bool quit_posted_ = false;
  int exit_code_ = 0;
  PanelProcedure procedure_;
  DefaultProcessing default_processing_;
  MessageBoxScreen* box_screen_ = nullptr;
  char host_marker_ = 0;
  char panel_marker_ = 0;
};
