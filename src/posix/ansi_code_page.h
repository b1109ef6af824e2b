// The simulated laptop's ANSI code page, Windows-1252: what WideCharToMultiByte(CP_ACP) writes and
// what Notepad reads back.
#pragma once

#include <optional>

// The byte for one UTF-16 unit, or nothing when the code page has no such character.
std::optional<unsigned char> ansi_byte_of(char16_t unit);
// The character one byte stands for.
char16_t unit_of_ansi_byte(unsigned char byte);
