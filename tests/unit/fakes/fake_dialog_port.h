// A panel without a window system: remembers every text, number, enabled state and timer.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ports/clock_port.h"
#include "ports/dialog_port.h"

class FakeDialogPort : public DialogPort {
 public:
  std::map<int, std::u16string> texts;
  std::vector<int> text_order;  // ids in the order their texts were set
  std::map<int, UINT> numbers;
  std::map<int, bool> enabled;
  UINT checked = 0;  // state of the one check box
  std::u16string title;
  int timer_starts = 0, timer_stops = 0;
  std::vector<int> quit_codes;
  std::function<LRESULT(UINT, WPARAM, LPARAM)> on_send;  // the panel's own procedure
  struct MessageBox {
    std::u16string text, caption;
    UINT type;
    HWND owner;
  };
  std::vector<MessageBox> message_boxes;
  // What the next box's modal loop delivers before the user closes it: ticks, broadcasts, commands.
  std::function<void()> during_next_message_box;

  BOOL SetDlgItemTextW(HWND, int id, const char16_t* text) override {
    texts[id] = text;
    text_order.push_back(id);
    return TRUE;
  }
  BOOL SetDlgItemInt(HWND, int id, UINT value, BOOL) override {
    numbers[id] = value;
    texts[id] = to_u16(value);
    text_order.push_back(id);
    return TRUE;
  }
  UINT GetDlgItemInt(HWND, int id, BOOL* translated, BOOL) override {
    if (translated != nullptr) {
      *translated = TRUE;
    }
    return numbers[id];
  }
  UINT IsDlgButtonChecked(HWND, int) override { return checked; }
  HWND GetDlgItem(HWND, int id) override { return reinterpret_cast<HWND>(static_cast<intptr_t>(id)); }
  BOOL EnableWindow(HWND control, BOOL enable) override {
    enabled[static_cast<int>(reinterpret_cast<intptr_t>(control))] = enable != FALSE;
    return TRUE;
  }
  BOOL SetWindowTextW(HWND, const char16_t* text) override {
    title = text;
    return TRUE;
  }
  UINT_PTR SetTimer(HWND, UINT_PTR id, UINT period) override {
    if (id == 1 && period == 1000) {
      ++timer_starts;
    }
    return id;
  }
  BOOL KillTimer(HWND, UINT_PTR) override {
    ++timer_stops;
    return TRUE;
  }
  void PostQuitMessage(int code) override { quit_codes.push_back(code); }
  struct Sent {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
  };
  std::vector<Sent> sent;
  LRESULT SendMessageW(HWND, UINT message, WPARAM wparam, LPARAM lparam) override {
    sent.push_back({message, wparam, lparam});
    return on_send ? on_send(message, wparam, lparam) : 0;
  }

  int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) override {
    message_boxes.push_back({text, caption, type, owner});
    if (during_next_message_box) {
      const std::function<void()> delivered = std::move(during_next_message_box);
      during_next_message_box = nullptr;
      delivered();
    }
    return 1;  // IDOK
  }

  std::string text(int id) const {
    auto found = texts.find(id);
    return found == texts.end() ? std::string("<unset>") : narrow(found->second);
  }
  static std::string narrow(const std::u16string& text) {
    std::string result;
    for (char16_t unit : text) {
      result += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return result;
  }

 private:
  static std::u16string to_u16(UINT value) {
    std::u16string digits;
    do {
      digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
      value /= 10;
    } while (value != 0);
    return digits;
  }
};

class FakeClockPort : public ClockPort {
 public:
  SYSTEMTIME now = {2026, 12, 1, 7, 9, 5, 3, 0};
  void GetLocalTime(SYSTEMTIME* time) override { *time = now; }
};
