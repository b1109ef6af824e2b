#include "posix/text_convert.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of UTF-16 text; an unpaired surrogate becomes U+FFFD.
template <class Sink>
void for_each_code_point(const std::u16string& text, Sink sink) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      sink(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      sink(kReplacement);
    } else {
      sink(unit);
    }
  }
}

}  // namespace

std::wstring to_wide_chars(const std::u16string& text) {
  std::wstring wide;
  for_each_code_point(text, [&](char32_t point) { wide.push_back(static_cast<wchar_t>(point)); });
  return wide;
}

std::string to_utf8(const std::u16string& text) {
  std::string utf8;
  for_each_code_point(text, [&](char32_t point) {
    if (point < 0x80) {
      utf8.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (point >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
      utf8.push_back(static_cast<char>(0xE0 | (point >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xF0 | (point >> 18)));
      utf8.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
  });
  return utf8;
}
