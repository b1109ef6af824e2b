#include "window_access.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;

std::string utf8_of(const wchar_t* text) {
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

struct TopLevelSearch {
  const wchar_t* window_class_name;
  const std::wstring& title_part;
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK match_top_level_window(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<TopLevelSearch*>(context);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, search.window_class_name) != 0 || !IsWindowVisible(window)) {
    return TRUE;
  }
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search.process_id != 0 && owner != search.process_id) {
    return TRUE;
  }
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  if (std::wstring(title).find(search.title_part) == std::wstring::npos) {
    return TRUE;
  }
  search.found.push_back(window);
  return TRUE;
}

}  // namespace

std::string to_utf8(const std::wstring& text) {
  return utf8_of(text.c_str());
}

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
  return utf8_of(text);
}

std::string window_class(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return utf8_of(name);
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

std::vector<HWND> top_level_windows(const wchar_t* window_class_name, const std::wstring& title_part,
                                    DWORD process_id) {
  TopLevelSearch search{window_class_name, title_part, process_id, {}};
  EnumWindows(match_top_level_window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND find_top_level_window(const wchar_t* window_class_name, const std::wstring& title_part) {
  const std::vector<HWND> found = top_level_windows(window_class_name, title_part);
  return found.empty() ? nullptr : found.front();
}
