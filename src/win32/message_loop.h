// The program's message loop, with the panel's dialog keyboard handling.
#pragma once

#include "common/win_types.h"
#include "panel/panel_state.h"

// GetMessageW's shape, so that a test can hand the loop one that fails.
using GetMessageFunction = BOOL(WINAPI*)(MSG* message, HWND window, UINT first, UINT last);

// Runs until the quit message, or until GetMessageW fails; returns the quit message's wParam, and 0
// when there was none.
int run_message_loop(const PanelState& state, GetMessageFunction get_message = ::GetMessageW);
