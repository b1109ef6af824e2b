// The logic's UTF-16 text is char16_t; Windows' W functions take wchar_t, the same 16-bit units.
#pragma once

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* as_wchar(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

inline wchar_t* as_wchar(char16_t* text) {
  return reinterpret_cast<wchar_t*>(text);
}
