#include "driver_arguments.h"

#include <windows.h>

#include <cstdio>

std::wstring windows_path(const wchar_t* path) {
  std::wstring result = path;
  if (!result.empty() && result[0] == L'/') {
    result = L"Z:" + result;
  }
  for (wchar_t& c : result) {
    if (c == L'/') {
      c = L'\\';
    }
  }
  return result;
}

void pause_for_screenshot(const std::wstring& path) {
  std::printf("screenshot: panel ready\n");
  std::fflush(stdout);
  for (int waited = 0; waited < 600 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
       ++waited) {
    Sleep(100);
  }
}
