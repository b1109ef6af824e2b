#include "terminal/terminal_dialog.h"

#include <limits>

namespace {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr size_t kNumberFieldDigits = 10;  // enough for any UINT

bool is_digit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

char16_t upper_ascii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The letter after '&' in a control text, or 0.
char16_t mnemonic_of(const std::u16string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'&') {
      if (text[i + 1] != u'&') {
        return upper_ascii(text[i + 1]);
      }
      ++i;
    }
  }
  return 0;
}

}  // namespace

TerminalDialog::TerminalDialog(MonotonicClock& clock) : clock_(clock), layout_(layout_panel()) {
  for (size_t i = 0; i < kControlCount; ++i) {
    controls_[i].text = kPanelControls[i].text;
    controls_[i].enabled = kPanelControls[i].kind != ControlKind::delay_field;  // WS_DISABLED in the template
  }
}

void TerminalDialog::create_panel() {
  if (SendMessageW(panel_window(), WM_INITDIALOG, 0, 0) != 0) {
    focus_.reset();
    move_focus(+1);
  }
}

std::optional<size_t> TerminalDialog::index_of(int id) const {
  for (size_t i = 0; i < kControlCount; ++i) {
    if (kPanelControls[i].id == id) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<size_t> TerminalDialog::index_of(HWND window) const {
  for (size_t i = 0; i < kControlCount; ++i) {
    if (reinterpret_cast<const void*>(window) == static_cast<const void*>(&controls_[i])) {
      return i;
    }
  }
  return std::nullopt;
}

BOOL TerminalDialog::SetDlgItemTextW(HWND dialog, int id, const char16_t* text) {
  const std::optional<size_t> index = index_of(id);
  if (dialog != panel_window() || !index || text == nullptr) {
    return FALSE;
  }
  controls_[*index].text = text;
  return TRUE;
}

BOOL TerminalDialog::SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed) {
  const std::u16string digits = [&] {
    const std::string narrow = is_signed ? std::to_string(static_cast<int32_t>(value))
                                         : std::to_string(static_cast<uint32_t>(value));
    return std::u16string(narrow.begin(), narrow.end());
  }();
  return SetDlgItemTextW(dialog, id, digits.c_str());
}

UINT TerminalDialog::GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL is_signed) {
  if (translated != nullptr) {
    *translated = FALSE;
  }
  const std::optional<size_t> index = index_of(id);
  if (dialog != panel_window() || !index) {
    return 0;
  }
  // As Windows: blanks around the number are allowed; anything else, or an overflow, fails with 0.
  const std::u16string& text = controls_[*index].text;
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') {
    ++i;
  }
  bool negative = false;
  if (is_signed && i < text.size() && text[i] == u'-') {
    negative = true;
    ++i;
  }
  const size_t first_digit = i;
  uint64_t value = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - u'0');
    if (value > std::numeric_limits<uint32_t>::max()) {
      return 0;
    }
  }
  const size_t last_digit = i;
  while (i < text.size() && text[i] == u' ') {
    ++i;
  }
  if (first_digit == last_digit || i != text.size()) {
    return 0;
  }
  if (is_signed && value > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
    return 0;
  }
  if (translated != nullptr) {
    *translated = TRUE;
  }
  return negative ? static_cast<UINT>(0u - static_cast<uint32_t>(value)) : static_cast<UINT>(value);
}

UINT TerminalDialog::IsDlgButtonChecked(HWND dialog, int id) {
  const std::optional<size_t> index = index_of(id);
  if (dialog != panel_window() || !index || kPanelControls[*index].kind != ControlKind::check_box) {
    return 0;
  }
  return controls_[*index].checked ? BST_CHECKED : 0;
}

HWND TerminalDialog::GetDlgItem(HWND dialog, int id) {
  const std::optional<size_t> index = index_of(id);
  if (dialog != panel_window() || !index) {
    return nullptr;
  }
  return reinterpret_cast<HWND>(&controls_[*index]);
}

BOOL TerminalDialog::EnableWindow(HWND window, BOOL enable) {
  const std::optional<size_t> index = index_of(window);
  if (!index) {
    return FALSE;
  }
  const bool was_disabled = !controls_[*index].enabled;
  controls_[*index].enabled = enable != FALSE;
  // Focus never stays on a control that can no longer take it.
  if (!controls_[*index].enabled && focus_ == index) {
    move_focus(+1);
  }
  return was_disabled ? TRUE : FALSE;
}

BOOL TerminalDialog::SetWindowTextW(HWND window, const char16_t* text) {
  if (text == nullptr) {
    return FALSE;
  }
  if (window == host_window()) {
    host_title_ = text;
    return TRUE;
  }
  return window == panel_window() ? TRUE : FALSE;  // the panel has no title bar to show it
}

UINT_PTR TerminalDialog::SetTimer(HWND window, UINT_PTR timer_id, UINT elapse_ms) {
  if (window != panel_window()) {
    return 0;
  }
  Timer* slot = nullptr;
  for (Timer& timer : timers_) {
    if (timer.set && timer.id == timer_id) {
      slot = &timer;  // a running timer restarts with a fresh period
      break;
    }
    if (!timer.set && slot == nullptr) {
      slot = &timer;
    }
  }
  if (slot == nullptr) {
    return 0;
  }
  // Windows raises periods below USER_TIMER_MINIMUM (10 ms) to it.
  const uint64_t period = elapse_ms < 10 ? 10 : elapse_ms;
  *slot = Timer{timer_id, period, clock_.milliseconds() + period, true};
  return timer_id;
}

BOOL TerminalDialog::KillTimer(HWND window, UINT_PTR timer_id) {
  for (Timer& timer : timers_) {
    if (window == panel_window() && timer.set && timer.id == timer_id) {
      timer.set = false;
      return TRUE;
    }
  }
  return FALSE;
}

void TerminalDialog::PostQuitMessage(int exit_code) {
  quit_posted_ = true;
  exit_code_ = exit_code;
}

LRESULT TerminalDialog::SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window != panel_window() || !procedure_) {
    return 0;
  }
  const LRESULT handled = procedure_(message, wparam, lparam);
  if (handled != FALSE || !default_processing_) {
    return handled;
  }
  return default_processing_(message, wparam, lparam);
}

int TerminalDialog::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT /*type*/) {
  if (box_screen_ == nullptr || (owner != nullptr && owner != panel_window() && owner != host_window())) {
    return 0;
  }
  const std::u16string shown_caption = caption != nullptr ? caption : u"Error";  // Windows' default caption
  const std::u16string shown_text = text != nullptr ? text : u"";
  // Windows' modal loop: timer messages still reach the panel while the box waits for its answer.
  for (;;) {
    run_due_timers();
    if (quit_posted_ ||
        box_screen_->show_and_wait(shown_caption, shown_text, milliseconds_to_next_timer(1000))) {
      return kIdOk;
    }
  }
}

int TerminalDialog::milliseconds_to_next_timer(int idle_ms) const {
  const std::optional<uint64_t> due = next_timer_due();
  if (!due) {
    return idle_ms;
  }
  const uint64_t now = clock_.milliseconds();
  return *due > now ? static_cast<int>(*due - now) : 0;
}

std::optional<uint64_t> TerminalDialog::next_timer_due() const {
  std::optional<uint64_t> due;
  for (const Timer& timer : timers_) {
    if (timer.set && (!due || timer.due_ms < *due)) {
      due = timer.due_ms;
    }
  }
  return due;
}

void TerminalDialog::run_due_timers() {
  const uint64_t now = clock_.milliseconds();
  for (Timer& timer : timers_) {
    if (!timer.set || timer.due_ms > now) {
      continue;
    }
    // One WM_TIMER however late, as Windows coalesces them; the next one a period after this one was due.
    timer.due_ms += timer.period_ms;
    if (timer.due_ms <= now) {
      timer.due_ms = now + timer.period_ms;
    }
    SendMessageW(panel_window(), WM_TIMER, timer.id, 0);
  }
}

bool TerminalDialog::is_tab_stop(size_t index) const {
  const ControlKind kind = kPanelControls[index].kind;
  return controls_[index].enabled && kind != ControlKind::label && kind != ControlKind::group_box;
}

bool TerminalDialog::focus_in_number_field() const {
  return focus_ && kPanelControls[*focus_].kind == ControlKind::delay_field;
}

void TerminalDialog::set_focus(size_t index) {
  focus_ = index;
  replace_on_type_ = kPanelControls[index].kind == ControlKind::delay_field;
}

void TerminalDialog::move_focus(int direction) {
  const size_t count = kControlCount;
  size_t index = focus_ ? *focus_ : (direction > 0 ? count - 1 : 0);
  for (size_t step = 0; step < count; ++step) {
    index = direction > 0 ? (index + 1) % count : (index + count - 1) % count;
    if (is_tab_stop(index)) {
      set_focus(index);
      return;
    }
  }
  focus_.reset();
}

void TerminalDialog::focus_next() {
  move_focus(+1);
}

void TerminalDialog::focus_previous() {
  move_focus(-1);
}

void TerminalDialog::send_command(int id) {
  SendMessageW(panel_window(), WM_COMMAND, static_cast<WPARAM>(static_cast<uint16_t>(id)), 0);
}

void TerminalDialog::activate(size_t index) {
  if (!controls_[index].enabled) {
    return;
  }
  if (kPanelControls[index].kind == ControlKind::check_box) {
    controls_[index].checked = !controls_[index].checked;  // BS_AUTOCHECKBOX: the box toggles itself
  }
  send_command(kPanelControls[index].id);
}

void TerminalDialog::press_enter() {
  if (focus_ && kPanelControls[*focus_].kind == ControlKind::push_button) {
    activate(*focus_);
  } else {
    send_command(kIdOk);
  }
}

void TerminalDialog::press_escape() {
  send_command(kIdCancel);
}

void TerminalDialog::press_space() {
  if (!focus_) {
    return;
  }
  const ControlKind kind = kPanelControls[*focus_].kind;
  if (kind == ControlKind::push_button || kind == ControlKind::check_box) {
    activate(*focus_);
  }
}

bool TerminalDialog::press_mnemonic(char16_t letter) {
  const char16_t wanted = upper_ascii(letter);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlKind kind = kPanelControls[i].kind;
    if ((kind == ControlKind::push_button || kind == ControlKind::check_box) && controls_[i].enabled &&
        mnemonic_of(controls_[i].text) == wanted) {
      set_focus(i);
      activate(i);
      return true;
    }
  }
  return false;
}

void TerminalDialog::type_character(char16_t character) {
  if (!focus_in_number_field() || !controls_[*focus_].enabled || !is_digit(character)) {
    return;  // ES_NUMBER: nothing but digits
  }
  std::u16string& text = controls_[*focus_].text;
  if (replace_on_type_) {
    text.clear();
    replace_on_type_ = false;
  }
  if (text.size() < kNumberFieldDigits) {
    text.push_back(character);
  }
}

void TerminalDialog::press_backspace() {
  if (!focus_in_number_field() || !controls_[*focus_].enabled) {
    return;
  }
  std::u16string& text = controls_[*focus_].text;
  if (replace_on_type_) {
    text.clear();
    replace_on_type_ = false;
  } else if (!text.empty()) {
    text.pop_back();
  }
}

void TerminalDialog::click(int panel_row, int panel_column) {
  for (size_t i = 0; i < kControlCount; ++i) {
    if (!is_tab_stop(i) || !layout_[i].drawn.contains(panel_row, panel_column)) {
      continue;
    }
    set_focus(i);
    replace_on_type_ = false;  // a click puts the caret in the field, it selects nothing
    const ControlKind kind = kPanelControls[i].kind;
    if (kind == ControlKind::push_button || kind == ControlKind::check_box) {
      activate(i);
    }
    return;
  }
}
