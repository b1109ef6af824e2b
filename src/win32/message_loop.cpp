#include "win32/message_loop.h"

int run_message_loop(const PanelState& state, GetMessageFunction get_message) {
  MSG message = {};
  // GetMessageW gives -1 only for an invalid window filter, which a null filter cannot be; stopping
  // there too keeps the loop from spinning should it ever happen.
  while (get_message(&message, nullptr, 0, 0) > 0) {
    if (state.panel != nullptr && IsDialogMessageW(state.panel, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}
