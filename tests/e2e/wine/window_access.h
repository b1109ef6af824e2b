// Reading another process's windows through window messages, each with a timeout.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::string to_utf8(const std::wstring& text);
std::string window_text(HWND window);
std::string window_class(HWND window);
// The direct children in z order, which for dialog controls is the order of creation.
std::vector<HWND> child_windows(HWND parent);
// SendMessageTimeoutW with a 5 s limit; false when the window did not answer.
bool send_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr);
HWND focused_window(DWORD thread_id);
// The visible top-level windows of class `window_class_name` whose title contains `title_part`, of
// the process `process_id`, or of any process when it is 0.
std::vector<HWND> top_level_windows(const wchar_t* window_class_name, const std::wstring& title_part,
                                    DWORD process_id = 0);
// The first of them; null if none.
HWND find_top_level_window(const wchar_t* window_class_name, const std::wstring& title_part);
