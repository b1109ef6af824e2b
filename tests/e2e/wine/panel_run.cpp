#include "panel_run.h"

#include "window_access.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kSettleMs = 700;

}  // namespace

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
