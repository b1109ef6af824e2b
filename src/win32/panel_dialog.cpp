#include "win32/panel_dialog.h"

#include "panel/panel.h"
#include "win32/program.h"

INT_PTR CALLBACK panel_dialog_procedure(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  // The first WM_INITDIALOG arrives inside CreateDialogParamW, before it returns the handle that the
  // initialisation needs.
  if (message == WM_INITDIALOG && program_state.panel == nullptr) {
    program_state.panel = panel;
  }
  return panel_dialog_message(program_state, program_ports, message, wparam, lparam);
}
