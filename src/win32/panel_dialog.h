// The panel's dialog procedure: unpacks the message and hands it to the panel's logic.
#pragma once

#include "common/win_types.h"

constexpr const wchar_t* kPanelTemplate = L"Chargewright";

INT_PTR CALLBACK panel_dialog_procedure(HWND panel, UINT message, WPARAM wparam, LPARAM lparam);
