// UTF-8 inside the report, UTF-16 at Windows' edge.
#pragma once

#include <string>

std::wstring wide_of_utf8(const std::string& text);
std::string utf8_of_wide(const wchar_t* text);
// The system's text for a Windows error code, without its line break.
std::string windows_error_text(unsigned long error);
