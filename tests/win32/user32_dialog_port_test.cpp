// The User32 dialog port on the panel's own template, created in this test program. Each operation
// is checked through a second, independent User32 call.
#include <gtest/gtest.h>

#include "control_ids.h"
#include "panel/dialog_template.h"
#include "win32/user32_dialog_port.h"

namespace {

INT_PTR CALLBACK quiet_dialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// What a thread timer saw of the message box it closed, from inside the box's modal loop.
struct SeenBox {
  HWND box = nullptr;
  HWND owner = nullptr;
  bool owner_enabled = true;
};
SeenBox seen_box;

BOOL CALLBACK find_message_box(HWND window, LPARAM found) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (lstrcmpW(class_name, L"#32770") != 0) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK close_message_box(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), find_message_box, reinterpret_cast<LPARAM>(&box));
  if (box != nullptr && seen_box.box == nullptr) {
    seen_box = {box, GetWindow(box, GW_OWNER), IsWindowEnabled(GetWindow(box, GW_OWNER)) != FALSE};
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

class PanelTemplateDialog : public ::testing::Test {
 protected:
  // The template is a child dialog, so it needs a parent: a hidden window stands in for the host.
  // Under Wine, windows need an X display (with-xvfb.sh gives the test one).
  void SetUp() override {
    host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
    dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), L"Chargewright", host_, quiet_dialog, 0);
    ASSERT_NE(dialog_, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    if (host_ != nullptr) {
      DestroyWindow(host_);  // and with it the dialog
    }
  }

  std::wstring text_of(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
  }

  HWND host_ = nullptr;
  HWND dialog_ = nullptr;
  User32DialogPort port_;
};

TEST_F(PanelTemplateDialog, TemplateCreatesEveryControlOfTheTable) {
  for (const ControlTemplate& control : kPanelControls) {
    if (control.id != -1) {
      EXPECT_NE(GetDlgItem(dialog_, control.id), nullptr) << control.id;
    }
  }
}

TEST_F(PanelTemplateDialog, TextsAndNumbersReachTheControls) {
  EXPECT_TRUE(port_.SetDlgItemTextW(dialog_, IDC_REMAINING_CAPACITY, u"30000 mW"));
  EXPECT_EQ(text_of(GetDlgItem(dialog_, IDC_REMAINING_CAPACITY)), L"30000 mW");

  EXPECT_TRUE(port_.SetDlgItemInt(dialog_, IDC_WAKE_MINUTES, 3, FALSE));
  EXPECT_EQ(text_of(GetDlgItem(dialog_, IDC_WAKE_MINUTES)), L"3");
  SetDlgItemTextW(dialog_, IDC_WAKE_HOURS, L"17");
  BOOL translated = FALSE;
  EXPECT_EQ(port_.GetDlgItemInt(dialog_, IDC_WAKE_HOURS, &translated, FALSE), 17u);
  EXPECT_TRUE(translated);

  EXPECT_TRUE(port_.SetWindowTextW(host_, u"Chargewright - 09:05:03"));
  EXPECT_EQ(text_of(host_), L"Chargewright - 09:05:03");
}

TEST_F(PanelTemplateDialog, CheckBoxAndEnabledStateReadBack) {
  EXPECT_EQ(port_.IsDlgButtonChecked(dialog_, IDC_WAKE_UP_AFTER), 0u);
  CheckDlgButton(dialog_, IDC_WAKE_UP_AFTER, BST_CHECKED);
  EXPECT_EQ(port_.IsDlgButtonChecked(dialog_, IDC_WAKE_UP_AFTER), static_cast<UINT>(BST_CHECKED));

  const HWND days = port_.GetDlgItem(dialog_, IDC_WAKE_DAYS);
  ASSERT_EQ(days, GetDlgItem(dialog_, IDC_WAKE_DAYS));
  EXPECT_FALSE(IsWindowEnabled(days)) << "delay fields start disabled";
  port_.EnableWindow(days, TRUE);
  EXPECT_TRUE(IsWindowEnabled(days));
  port_.EnableWindow(days, FALSE);
  EXPECT_FALSE(IsWindowEnabled(days));
}

TEST_F(PanelTemplateDialog, TimerTicksAndStops) {
  EXPECT_NE(port_.SetTimer(dialog_, 1, 10), 0u);
  MSG message = {};
  const ULONGLONG deadline = GetTickCount64() + 2000;
  bool ticked = false;
  while (!ticked && GetTickCount64() < deadline) {
    ticked = PeekMessageW(&message, dialog_, WM_TIMER, WM_TIMER, PM_REMOVE) && message.wParam == 1;
    Sleep(5);
  }
  EXPECT_TRUE(ticked);
  EXPECT_TRUE(port_.KillTimer(dialog_, 1));
  EXPECT_FALSE(KillTimer(dialog_, 1)) << "the timer is gone already";
}

TEST_F(PanelTemplateDialog, AMessageBoxIsOwnedByTheWindowGivenAndDisablesIt) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, close_message_box);
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(port_.MessageBoxW(host_, u"report", u"Chargewright", MB_OK | MB_ICONWARNING), IDOK);
  KillTimer(nullptr, timer);
  EXPECT_NE(seen_box.box, nullptr);
  EXPECT_EQ(seen_box.owner, host_);
  EXPECT_FALSE(seen_box.owner_enabled) << "no click reaches the panel while the box is up";
  EXPECT_TRUE(IsWindowEnabled(host_));
}

TEST_F(PanelTemplateDialog, SendMessageAndQuitMessage) {
  port_.SendMessageW(dialog_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"sent"));
  EXPECT_EQ(text_of(dialog_), L"sent");

  port_.PostQuitMessage(0);
  MSG message = {};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

}  // namespace
