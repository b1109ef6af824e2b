#include "terminal/terminal_dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "../../res/control_ids.h"
#include "../shared/fake_clock.h"

namespace {

struct Message {
  UINT message;
  WPARAM wparam;
};

class TerminalDialogTest : public ::testing::Test {
 protected:
  TerminalDialogTest() {
    dialog.attach([this](UINT message, WPARAM wparam, LPARAM) -> INT_PTR {
      received.push_back({message, wparam});
      return message == WM_INITDIALOG ? TRUE : FALSE;
    });
  }
  HWND panel() { return dialog.panel_window(); }
  int focused_id() const { return dialog.focus() ? kPanelControls[*dialog.focus()].id : 0; }
  std::vector<WPARAM> commands() const {
    std::vector<WPARAM> ids;
    for (const Message& m : received) {
      if (m.message == WM_COMMAND) {
        ids.push_back(m.wparam);
      }
    }
    return ids;
  }

  FakeClock clock;
  TerminalDialog dialog{clock};
  std::vector<Message> received;
};

TEST_F(TerminalDialogTest, CreationSendsInitDialogAndFocusesExit) {
  dialog.create_panel();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, WM_INITDIALOG);
  EXPECT_EQ(focused_id(), IDC_EXIT);
}

TEST_F(TerminalDialogTest, TabVisitsEnabledTabStopsInTemplateOrder) {
  dialog.create_panel();
  dialog.focus_next();
  EXPECT_EQ(focused_id(), IDC_LIFE_PERCENT);  // read-only fields are tab stops too
  dialog.focus_previous();
  EXPECT_EQ(focused_id(), IDC_EXIT);
  dialog.focus_previous();  // wraps to the last enabled tab stop: the check box, the delay fields being
                            // disabled
  EXPECT_EQ(focused_id(), IDC_WAKE_UP_AFTER);
  dialog.focus_next();
  EXPECT_EQ(focused_id(), IDC_EXIT);
}

TEST_F(TerminalDialogTest, EnterClicksAFocusedButtonOtherwiseSendsIdOk) {
  dialog.create_panel();
  dialog.press_enter();
  dialog.focus_next();  // a read-only field
  dialog.press_enter();
  dialog.press_escape();
  EXPECT_EQ(commands(), (std::vector<WPARAM>{IDC_EXIT, 1, 2}));
}

TEST_F(TerminalDialogTest, CheckBoxTogglesItselfBeforeItsCommand) {
  dialog.create_panel();
  dialog.focus_previous();
  ASSERT_EQ(focused_id(), IDC_WAKE_UP_AFTER);
  bool checked_when_sent = false;
  dialog.attach([&](UINT message, WPARAM, LPARAM) -> INT_PTR {
    checked_when_sent =
        message == WM_COMMAND && dialog.IsDlgButtonChecked(panel(), IDC_WAKE_UP_AFTER) == BST_CHECKED;
    return TRUE;
  });
  dialog.press_space();
  EXPECT_TRUE(checked_when_sent);
  dialog.press_space();
  EXPECT_EQ(dialog.IsDlgButtonChecked(panel(), IDC_WAKE_UP_AFTER), 0u);
  EXPECT_EQ(dialog.IsDlgButtonChecked(panel(), IDC_EXIT), 0u);
}

TEST_F(TerminalDialogTest, MnemonicClicksExitFromAnywhere) {
  dialog.create_panel();
  dialog.focus_next();
  EXPECT_TRUE(dialog.press_mnemonic(u'x'));
  EXPECT_FALSE(dialog.press_mnemonic(u'q'));
  EXPECT_EQ(commands(), (std::vector<WPARAM>{IDC_EXIT}));
}

TEST_F(TerminalDialogTest, NumberFieldsTakeDigitsOnlyAndOnlyWhenEnabled) {
  dialog.create_panel();
  dialog.SetDlgItemInt(panel(), IDC_WAKE_MINUTES, 3, FALSE);
  HWND minutes = dialog.GetDlgItem(panel(), IDC_WAKE_MINUTES);
  EXPECT_EQ(dialog.EnableWindow(minutes, TRUE), TRUE);  // it was disabled
  while (focused_id() != IDC_WAKE_MINUTES) {
    dialog.focus_next();
  }
  dialog.type_character(u'4');  // Tab selected the text: typing replaces it
  dialog.type_character(u'a');
  dialog.type_character(u'2');
  BOOL translated = FALSE;
  EXPECT_EQ(dialog.GetDlgItemInt(panel(), IDC_WAKE_MINUTES, &translated, FALSE), 42u);
  EXPECT_TRUE(translated);
  dialog.press_backspace();
  dialog.press_backspace();
  EXPECT_EQ(dialog.GetDlgItemInt(panel(), IDC_WAKE_MINUTES, &translated, FALSE), 0u);
  EXPECT_FALSE(translated);  // empty

  // Disabling the focused field moves the focus on and locks the field.
  dialog.EnableWindow(minutes, FALSE);
  EXPECT_NE(focused_id(), IDC_WAKE_MINUTES);
  dialog.type_character(u'7');
  EXPECT_EQ(dialog.control(static_cast<size_t>(find_control(IDC_WAKE_MINUTES) - kPanelControls)).text, u"");
}

TEST_F(TerminalDialogTest, GetDlgItemIntRefusesWhatIsNotAnUnsignedNumber) {
  BOOL translated = TRUE;
  for (const char16_t* text : {u"", u"12x", u"-5", u"4294967296"}) {
    dialog.SetDlgItemTextW(panel(), IDC_WAKE_DAYS, text);
    EXPECT_EQ(dialog.GetDlgItemInt(panel(), IDC_WAKE_DAYS, &translated, FALSE), 0u);
    EXPECT_FALSE(translated);
  }
  dialog.SetDlgItemTextW(panel(), IDC_WAKE_DAYS, u" 4294967295 ");
  EXPECT_EQ(dialog.GetDlgItemInt(panel(), IDC_WAKE_DAYS, &translated, FALSE), 4294967295u);
  EXPECT_TRUE(translated);
}

TEST_F(TerminalDialogTest, TimerTicksOncePerPeriodAndSetTimerRestartsIt) {
  EXPECT_FALSE(dialog.next_timer_due());
  dialog.SetTimer(panel(), 1, 1000);
  clock.now_ms += 600;
  dialog.SetTimer(panel(), 1, 1000);  // restarted: due 1000 ms from now, not 400
  clock.now_ms += 900;
  dialog.run_due_timers();
  EXPECT_TRUE(received.empty());
  clock.now_ms += 100;
  dialog.run_due_timers();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(received[0].wparam, 1u);
  EXPECT_EQ(*dialog.next_timer_due(), clock.now_ms + 1000);

  clock.now_ms += 5500;  // a late loop gets one tick, not five
  dialog.run_due_timers();
  EXPECT_EQ(received.size(), 2u);
  EXPECT_TRUE(dialog.KillTimer(panel(), 1));
  EXPECT_FALSE(dialog.next_timer_due());
  EXPECT_FALSE(dialog.KillTimer(panel(), 1));
}

TEST_F(TerminalDialogTest, ClickFocusesAndPressesButtons) {
  dialog.create_panel();
  const CellRect s3 = dialog.layout()[static_cast<size_t>(find_control(IDC_S3) - kPanelControls)].drawn;
  dialog.click(s3.row, s3.column + 1);
  EXPECT_EQ(focused_id(), IDC_S3);
  dialog.click(0, 0);  // the border: nothing
  EXPECT_EQ(commands(), (std::vector<WPARAM>{IDC_S3}));
}

TEST_F(TerminalDialogTest, TitlesAndQuit) {
  EXPECT_TRUE(dialog.SetWindowTextW(dialog.host_window(), u"Chargewright - 09:05:03"));
  EXPECT_EQ(dialog.host_title(), u"Chargewright - 09:05:03");
  EXPECT_FALSE(dialog.SetDlgItemTextW(panel(), 999, u"nowhere"));
  EXPECT_FALSE(dialog.quit_posted());
  dialog.PostQuitMessage(0);
  EXPECT_TRUE(dialog.quit_posted());
  EXPECT_EQ(dialog.exit_code(), 0);
}

// A user who reads the box for a few seconds, the clock running meanwhile, then presses Enter.
class SlowReader final : public MessageBoxScreen {
 public:
  SlowReader(FakeClock& clock, int answer_after) : clock_(clock), waits_left_(answer_after) {}
  bool show_and_wait(const std::u16string& caption, const std::u16string& text, int wait_ms) override {
    shown = caption + u": " + text;
    waits.push_back(wait_ms);
    clock_.now_ms += static_cast<uint64_t>(wait_ms);
    return --waits_left_ == 0;
  }
  std::u16string shown;
  std::vector<int> waits;

 private:
  FakeClock& clock_;
  int waits_left_;
};

TEST_F(TerminalDialogTest, MessageBoxIsModalWhileThePanelTimerKeepsTicking) {
  SlowReader reader(clock, 4);
  dialog.set_message_box_screen(&reader);
  dialog.SetTimer(panel(), 1, 1000);
  clock.now_ms += 300;
  size_t ticks_during_box = 0;
  dialog.attach([&](UINT message, WPARAM, LPARAM) -> INT_PTR {
    ticks_during_box += message == WM_TIMER ? 1 : 0;
    return TRUE;
  });
  EXPECT_EQ(dialog.MessageBoxW(nullptr, u"The test log x.txt could not be created.", u"Chargewright", MB_OK),
            1);
  EXPECT_EQ(reader.shown, u"Chargewright: The test log x.txt could not be created.");
  // Each wait ends when the next tick is due; the box returned only after the fourth.
  EXPECT_EQ(reader.waits, (std::vector<int>{700, 1000, 1000, 1000}));
  EXPECT_EQ(ticks_during_box, 3u);
}

TEST_F(TerminalDialogTest, MessageBoxFailsWithoutAScreenOrWithAForeignOwner) {
  EXPECT_EQ(dialog.MessageBoxW(nullptr, u"text", u"caption", MB_OK), 0);
  SlowReader report_reader(clock, 1);
  dialog.set_message_box_screen(&report_reader);
  EXPECT_EQ(dialog.MessageBoxW(dialog.host_window(), u"report", u"Chargewright", MB_OK), 1);
  EXPECT_EQ(report_reader.shown, u"Chargewright: report");  // the owner of the panel's failure reports
  SlowReader reader(clock, 1);
  dialog.set_message_box_screen(&reader);
  EXPECT_EQ(dialog.MessageBoxW(reinterpret_cast<HWND>(&reader), u"text", u"caption", MB_OK), 0);
  EXPECT_EQ(dialog.MessageBoxW(panel(), u"text", nullptr, MB_OK), 1);
  EXPECT_EQ(reader.shown, u"Error: text");  // Windows' caption when none is given
}

}  // namespace
