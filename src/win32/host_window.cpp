#include "win32/host_window.h"

#include "app/panel.h"
#include "win32/program.h"

namespace {

// The board identity (WMI) is not read yet: this is where the query goes, after the host handle is
// stored and before creation returns. Until then the board strings stay empty.
void board_identity_query_not_built_yet(PanelState&) {}

}  // namespace

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      program_state.host_window = window;
      board_identity_query_not_built_yet(program_state);
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
