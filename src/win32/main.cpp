// Entry: register the host window class, create the host window and the panel, run the message loop.
#include "common/win_types.h"
#include "control_ids.h"
#include "win32/host_window.h"
#include "win32/message_loop.h"
#include "win32/panel_dialog.h"
#include "win32/program.h"

namespace {

ATOM register_host_class(HINSTANCE instance) {
  WNDCLASSW window_class = {};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = host_window_procedure;
  window_class.cbClsExtra = 0;
  window_class.cbWndExtra = 30;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_CHARGEWRIGHT));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszMenuName = nullptr;
  window_class.lpszClassName = kHostWindowClass;
  return RegisterClassW(&window_class);
}

// The host's client area takes the panel's outer size; the host keeps its default position.
void fit_host_to_panel(HWND host, HWND panel) {
  RECT rect;
  GetWindowRect(panel, &rect);
  AdjustWindowRect(&rect, WS_CAPTION, FALSE);
  SetWindowPos(host, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  if (register_host_class(instance) == 0) {
    MessageBoxW(nullptr, L"This program requires Windows NT!", kHostWindowClass, MB_ICONERROR);
    return 0;
  }
  HWND host =
      CreateWindowExW(0, kHostWindowClass, kHostWindowClass, kHostWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  program_state.panel = CreateDialogParamW(instance, kPanelTemplate, host, panel_dialog_procedure, 0);
  fit_host_to_panel(host, program_state.panel);
  ShowWindow(program_state.panel, SW_SHOW);
  ShowWindow(host, show_command);
  UpdateWindow(host);
  return run_message_loop(program_state);
}
