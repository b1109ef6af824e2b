#include "panel_run.h"

#include "polling.h"
#include "window_access.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kSettleMs = 700;
// The title changes every second; a slow tick under load may take a little longer.
constexpr DWORD kTickTimeoutMs = 3000;

}  // namespace

int clock_title_seconds(const std::string& title) {
  const std::string prefix = "Chargewright - ";
  if (title.size() != prefix.size() + 8 || title.compare(0, prefix.size(), prefix) != 0) {
    return -1;
  }
  const char* clock = title.c_str() + prefix.size();
  for (int i : {0, 1, 3, 4, 6, 7}) {
    if (clock[i] < '0' || clock[i] > '9') {
      return -1;
    }
  }
  if (clock[2] != ':' || clock[5] != ':') {
    return -1;
  }
  auto two = [clock](int at) { return (clock[at] - '0') * 10 + (clock[at + 1] - '0'); };
  return two(0) * 3600 + two(3) * 60 + two(6);
}

PanelRun::PanelRun(CheckLog& log, const std::wstring& exe, const char* name,
                   const std::wstring& current_directory)
    : log_(log), program_(exe, current_directory), name_(name) {
  log_.expect(program_.started(), name_ + ": Chargewright.exe starts");
  host_ = program_.wait_for_host_window(kStartTimeoutMs);
  log_.expect(host_ != nullptr, name_ + ": a visible window of class \"Chargewright\" appears");
  if (host_ != nullptr) {
    panel_ = FindWindowExW(host_, nullptr, L"#32770", nullptr);
  }
  log_.expect(panel_ != nullptr, name_ + ": the host holds the panel dialog");
}

std::string PanelRun::text(int id) const {
  return window_text(control(id));
}

void PanelRun::expect_still_up(const std::string& after) {
  Sleep(kSettleMs);
  log_.expect(program_.running() && IsWindow(panel_) && IsWindowVisible(panel_),
              name_ + ": program and panel still there after " + after);
}

void PanelRun::expect_exit_code_zero(const std::string& after) {
  DWORD code = 0xDEAD;
  const bool ended = program_.wait_for_exit(kExitTimeoutMs, &code);
  log_.expect(ended && code == 0, name_ + ": " + after + " ends the process with exit code 0",
              ended ? "exit code " + std::to_string(code) : "still running");
}

void PanelRun::expect_responsive(const std::string& after) {
  wchar_t text[64] = {};
  const bool answered = send_message(panel_, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  const std::string title = window_text(host_);
  std::string later = title;
  const bool ticked = wait_until(kTickTimeoutMs, [&] {
    later = window_text(host_);
    return later != title && clock_title_seconds(later) >= 0;
  });
  DWORD exit_code = 0;
  const bool ended = program_.wait_for_exit(0, &exit_code);
  log_.expect(!ended && answered && ticked, name_ + ": program still running and answering after " + after,
              (ended ? "ended with exit code " + std::to_string(exit_code) : std::string("running")) +
                  ", WM_GETTEXT " + (answered ? "answered" : "unanswered") + ", title " + quoted(title) +
                  " then " + quoted(later));
}
