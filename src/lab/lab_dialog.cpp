#include "lab/lab_dialog.h"

#include <string_view>

namespace {

constexpr int kIdOk = 1;

// Message texts are ASCII apart from file names; anything else is shown as '?'.
std::string narrow(const char16_t* text) {
  std::string line;
  for (; text != nullptr && *text != 0; ++text) {
    const char16_t unit = *text;
    if (unit == u'\r') {
      continue;
    }
    line.push_back(unit == u'\n' ? ' ' : unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return line;
}

}  // namespace

BOOL LabDialog::SetDlgItemTextW(HWND, int id, const char16_t* text) {
  controls_[id].text = text != nullptr ? text : u"";
  return TRUE;
}

BOOL LabDialog::SetDlgItemInt(HWND, int id, UINT value, BOOL) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  controls_[id].text = digits;
  return TRUE;
}

// Only this host writes the number fields, and only digits.
UINT LabDialog::GetDlgItemInt(HWND, int id, BOOL* translated, BOOL) {
  uint64_t value = 0;
  const std::u16string& text = controls_[id].text;
  bool ok = !text.empty();
  for (char16_t unit : text) {
    ok = ok && unit >= u'0' && unit <= u'9';
    value = ok ? value * 10 + static_cast<uint64_t>(unit - u'0') : 0;
    ok = ok && value <= 0xFFFFFFFFu;
  }
  if (translated != nullptr) {
    *translated = ok ? TRUE : FALSE;
  }
  return ok ? static_cast<UINT>(value) : 0;
}

UINT LabDialog::IsDlgButtonChecked(HWND, int id) {
  return controls_[id].checked ? BST_CHECKED : 0;
}

HWND LabDialog::GetDlgItem(HWND, int) {
  return panel_window();  // nothing looks at a control's window here but EnableWindow
}

BOOL LabDialog::EnableWindow(HWND, BOOL) {
  return FALSE;
}

BOOL LabDialog::SetWindowTextW(HWND, const char16_t*) {
  return TRUE;  // the clock in the title: nobody looks
}

UINT_PTR LabDialog::SetTimer(HWND, UINT_PTR timer_id, UINT elapse_ms) {
  timers_[timer_id] = {elapse_ms, clock_.milliseconds() + elapse_ms};
  return timer_id;
}

BOOL LabDialog::KillTimer(HWND, UINT_PTR timer_id) {
  return timers_.erase(timer_id) != 0 ? TRUE : FALSE;
}

void LabDialog::PostQuitMessage(int) {
  quit_posted_ = true;
}

LRESULT LabDialog::SendMessageW(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window != panel_window() || !procedure_) {
    return 0;
  }
  return procedure_(message, wparam, lparam);
}

int LabDialog::MessageBoxW(HWND, const char16_t* text, const char16_t* caption, UINT) {
  const std::string caption_text = narrow(caption);
  messages_.push_back(narrow(text));
  std::fprintf(notices_, "chargewright: %s%s%s\n", caption_text.c_str(), caption_text.empty() ? "" : ": ",
               messages_.back().c_str());
  std::fflush(notices_);
  return kIdOk;
}

std::optional<uint64_t> LabDialog::next_timer_due() const {
  std::optional<uint64_t> due;
  for (const auto& [id, timer] : timers_) {
    if (!due || timer.due_ms < *due) {
      due = timer.due_ms;
    }
  }
  return due;
}

// One WM_TIMER per timer due, as Windows coalesces the ticks a busy thread missed.
void LabDialog::run_due_timers() {
  const uint64_t now = clock_.milliseconds();
  std::vector<UINT_PTR> due;
  for (auto& [id, timer] : timers_) {
    if (timer.due_ms <= now) {
      due.push_back(id);
      timer.due_ms += timer.period_ms;
      if (timer.due_ms <= now) {
        timer.due_ms = now + timer.period_ms;
      }
    }
  }
  for (UINT_PTR id : due) {
    if (procedure_ && timers_.count(id) != 0) {
      procedure_(WM_TIMER, id, 0);
    }
  }
}
