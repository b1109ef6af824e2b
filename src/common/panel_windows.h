// The host window and the panel dialog, the windows the ports are addressed with.
#pragma once

#include "common/win_types.h"

struct PanelWindows {
  HWND host_window = nullptr;
  HWND panel = nullptr;
};
