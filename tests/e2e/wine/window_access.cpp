#include "window_access.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

std::string to_utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.resize(static_cast<size_t>(size - 1));
  return result;
}

BOOL CALLBACK collect_direct_child(HWND window, LPARAM context) {
  auto& found = *reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(context);
  if (GetParent(window) == found.first) {
    found.second.push_back(window);
  }
  return TRUE;
}

}  // namespace

bool send_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  DWORD_PTR answer = 0;
  const LRESULT sent =
      SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer);
  if (result != nullptr) {
    *result = static_cast<LRESULT>(answer);
  }
  return sent != 0;
}

std::string window_text(HWND window) {
  wchar_t text[512] = {};
  LRESULT copied = 0;
  if (!send_message(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), &copied)) {
    return "<no answer>";
  }
  text[511] = L'\0';
  return to_utf8(text);
}

std::string window_class(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return to_utf8(name);
}

std::vector<HWND> child_windows(HWND parent) {
  std::pair<HWND, std::vector<HWND>> found{parent, {}};
  EnumChildWindows(parent, collect_direct_child, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

HWND focused_window(DWORD thread_id) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(thread_id, &info)) {
    return nullptr;
  }
  return info.hwndFocus;
}
