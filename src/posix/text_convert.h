// The panel's UTF-16 texts as the terminal wants them.
#pragma once

#include <string>

std::wstring to_wide_chars(const std::u16string& text);  // for ncurses' wide-character calls
std::string to_utf8(const std::u16string& text);         // for escape sequences written directly
