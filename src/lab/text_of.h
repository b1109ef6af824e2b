// The ASCII of the panel's UTF-16 texts (file names, laptop names) for standard output.
#pragma once

#include <string>
#include <string_view>

inline std::string ascii_of(const std::u16string_view text) {
  std::string ascii;
  for (char16_t unit : text) {
    if (unit == 0) {
      break;
    }
    ascii.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return ascii;
}
