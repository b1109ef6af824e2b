// The strip's texts are built from ASCII the C library formats; both laptops widen them alike.
#pragma once

#include <string>

inline std::u16string ascii(const char* text) {
  std::u16string wide;
  for (; *text != '\0'; ++text) {
    wide.push_back(static_cast<char16_t>(*text));
  }
  return wide;
}
