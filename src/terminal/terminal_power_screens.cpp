#include "terminal/terminal_power_screens.h"

#include <cmath>
#include <thread>

#include "posix/text_convert.h"

namespace {

constexpr int kShutdownScreenMs = 1200;

std::wstring two_digits(uint64_t value) {
  return (value < 10 ? L"0" : L"") + std::to_wstring(value);
}

std::wstring time_left(uint64_t milliseconds) {
  const uint64_t seconds = (milliseconds + 999) / 1000;  // 0.2 s left still reads 1 s
  return two_digits(seconds / 3600) + L":" + two_digits(seconds / 60 % 60) + L":" + two_digits(seconds % 60);
}

}  // namespace

std::vector<std::wstring> sleeping_screen_lines(const SleepView& view) {
  std::vector<std::wstring> lines;
  lines.push_back(view.hibernating ? L"Hibernating (S4)" : L"Sleeping (S3)");
  lines.push_back(L"");
  if (view.real_machine) {
    lines.push_back(view.wake_alarm.empty() ? std::wstring(L"no wake alarm")
                                            : L"wake alarm at " + to_wide_chars(view.wake_alarm));
    lines.push_back(L"");
    lines.push_back(L"the panel goes on when the machine has resumed");
    return lines;
  }
  lines.push_back(view.resume_in_ms ? L"resume timer: " + time_left(*view.resume_in_ms) + L" left"
                                    : std::wstring(L"no resume timer"));
  const long scale = std::lround(view.time_scale);
  lines.push_back(L"the battery drains as if " + std::to_wstring(scale) +
                  L" s passed for every second asleep");
  lines.push_back(L"");
  lines.push_back(L"press any key to wake");
  return lines;
}

bool TerminalPowerScreens::show_asleep(const SleepView& view, int wait_ms) {
  if (stop_requested_ != 0) {
    return true;  // a signal wakes the machine, so the program can end
  }
  screen_.draw_notice(sleeping_screen_lines(view), false);
  if (view.real_machine) {
    return false;  // drawn only: a key typed ahead belongs to the panel after the resume
  }
  const InputEvent event = screen_.wait_for_input(wait_ms);
  if (event.kind == InputEvent::Kind::interrupt) {
    stop_requested_ = 1;
  }
  return event.kind != InputEvent::Kind::none && event.kind != InputEvent::Kind::resize;
}

void TerminalPowerScreens::show_shutting_down() {
  screen_.draw_notice({L"Shutting down", L"", L"the simulated laptop powers off"}, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(kShutdownScreenMs));
}

bool TerminalPowerScreens::stop_requested() {
  if (stop_requested_ == 0 && screen_.take_typed_interrupt()) {
    stop_requested_ = 1;
  }
  return stop_requested_ != 0;
}
