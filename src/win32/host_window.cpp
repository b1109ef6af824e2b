#include "win32/host_window.h"

#include "identity/board_identity.h"
#include "panel/panel.h"
#include "win32/program.h"

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      program_state.host_window = window;
      query_board_identity(program_state, program_wmi);  // the panel's status line shows what it found
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND:
      return 0;
    case WM_POWERBROADCAST:
      handle_power_broadcast(program_state, program_ports);
      return TRUE;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}
