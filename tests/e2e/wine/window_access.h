// Reading another process's windows through window messages, each with a timeout.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::string window_text(HWND window);
std::string window_class(HWND window);
// The direct children in z order, which for dialog controls is the order of creation.
std::vector<HWND> child_windows(HWND parent);
// SendMessageTimeoutW with a 5 s limit; false when the window did not answer.
bool send_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr);
HWND focused_window(DWORD thread_id);
// A visible top-level window of class `window_class_name` whose title contains `title_part`; null if none.
HWND find_top_level_window(const wchar_t* window_class_name, const std::wstring& title_part);
