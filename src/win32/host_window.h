// The top-level window that holds the panel and receives the power broadcasts.
#pragma once

#include "common/win_types.h"

constexpr const wchar_t* kHostWindowClass = L"Chargewright";
constexpr DWORD kHostWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
