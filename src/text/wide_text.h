// Fixed-size UTF-16 text: every user-visible text and log line lives in one of these.
#pragma once

#include <cstddef>

// Number of UTF-16 units before the terminator, never looking past `capacity` units.
inline size_t wide_length(const char16_t* text, size_t capacity) {
  size_t length = 0;
  while (length < capacity && text[length] != 0) {
    ++length;
  }
  return length;
}

// Copies `source` into a buffer of `capacity` units, cutting it if needed; always terminated.
inline void copy_wide(char16_t* target, size_t capacity, const char16_t* source) {
  if (capacity == 0) {
    return;
  }
  size_t i = 0;
  for (; i + 1 < capacity && source[i] != 0; ++i) {
    target[i] = source[i];
  }
  target[i] = 0;
}

template <size_t N>
void copy_wide(char16_t (&target)[N], const char16_t* source) {
  copy_wide(target, N, source);
}

inline bool wide_equal(const char16_t* a, const char16_t* b) {
  size_t i = 0;
  for (; a[i] != 0 && a[i] == b[i]; ++i) {
  }
  return a[i] == b[i];
}

inline char16_t lower_ascii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Equal but for the case of ASCII letters, as Windows compares paths, file names and verbs.
inline bool wide_equal_ignoring_case(const char16_t* a, const char16_t* b) {
  size_t i = 0;
  for (; a[i] != 0 && lower_ascii(a[i]) == lower_ascii(b[i]); ++i) {
  }
  return lower_ascii(a[i]) == lower_ascii(b[i]);
}
