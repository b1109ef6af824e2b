#include "log_viewer.h"

#include <windows.h>

#include "polling.h"
#include "window_access.h"

namespace {

constexpr DWORD kNotepadTimeoutMs = 20000;
constexpr DWORD kNotepadExitTimeoutMs = 10000;
// A second viewer would be started right behind the first; give it time to show.
constexpr DWORD kSecondViewerMs = 1500;

class ScopedProcess {
 public:
  explicit ScopedProcess(DWORD process_id) : process_(OpenProcess(SYNCHRONIZE, FALSE, process_id)) {}
  ~ScopedProcess() {
    if (process_ != nullptr) {
      CloseHandle(process_);
    }
  }
  ScopedProcess(const ScopedProcess&) = delete;
  ScopedProcess& operator=(const ScopedProcess&) = delete;
  bool wait_for_exit(DWORD timeout_ms) const {
    return process_ != nullptr && WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0;
  }

 private:
  HANDLE process_;
};

}  // namespace

void check_notepad_shows(CheckLog& log, const std::string& who, const std::wstring& name) {
  HWND notepad = nullptr;
  wait_until(kNotepadTimeoutMs,
             [&] { return (notepad = find_top_level_window(L"Notepad", name)) != nullptr; });
  if (!log.expect(notepad != nullptr, who + ": a Notepad window shows the log",
                  "no window of class \"Notepad\" titled " + quoted(to_utf8(name)))) {
    return;
  }
  Sleep(kSecondViewerMs);
  const size_t viewers = top_level_windows(L"Notepad", name).size();
  log.expect(viewers == 1, who + ": exactly one Notepad shows the log", std::to_string(viewers) + " windows");
  for (HWND viewer : top_level_windows(L"Notepad", name)) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(viewer, &process_id);
    const ScopedProcess process(process_id);
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    if (viewer == notepad) {
      log.expect(process.wait_for_exit(kNotepadExitTimeoutMs),
                 who + ": Notepad closes on WM_CLOSE and its process ends");
    } else {
      process.wait_for_exit(kNotepadExitTimeoutMs);
    }
  }
}
