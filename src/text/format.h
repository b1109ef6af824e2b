// The one formatter of the program: printf-style conversions into fixed UTF-16 buffers.
//
// Only "%i", "%02i", "%8i", "%4.02f", "%.02f", "%s" and "%%" (flags '-' and '0', a width and, for
// 'f', a written precision of 0 to 3) are accepted, and each conversion is checked against its argument's
// type when the program is compiled. Output never passes the buffer: a result that does not fit is
// cut and still terminated. Doubles are rounded from their exact binary value, halves to even, as
// glibc's printf does, independent of locale, so Linux and Windows produce the same units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

constexpr size_t kWideTextSize = 512;  // panel texts, titles and log lines
constexpr size_t kPathTextSize = 260;  // file paths

struct FormatArg {
  enum class Kind { int32, real, text } kind;
  int32_t int_value;
  double real_value;
  const char16_t* text_value;
};

constexpr FormatArg format_arg(int32_t value) {
  return {FormatArg::Kind::int32, value, 0.0, nullptr};
}
constexpr FormatArg format_arg(double value) {
  return {FormatArg::Kind::real, 0, value, nullptr};
}
constexpr FormatArg format_arg(const char16_t* value) {
  return {FormatArg::Kind::text, 0, 0.0, value};
}

namespace format_detail {

template <class T>
constexpr FormatArg::Kind kind_of() {
  if constexpr (std::is_same_v<T, int32_t>) {
    return FormatArg::Kind::int32;
  } else if constexpr (std::is_same_v<T, double>) {
    return FormatArg::Kind::real;
  } else {
    static_assert(std::is_same_v<T, const char16_t*> || std::is_same_v<T, char16_t*>,
                  "format arguments are int32_t, double or UTF-16 text");
    return FormatArg::Kind::text;
  }
}

// Walks the format: returns the number of conversions that take an argument, or -1 when the
// format is not one this formatter supports or does not match `kinds`.
constexpr int check_format(const char16_t* format, const FormatArg::Kind* kinds, int count) {
  int used = 0;
  for (size_t i = 0; format[i] != 0; ++i) {
    if (format[i] != u'%') {
      continue;
    }
    ++i;
    if (format[i] == u'%') {
      continue;
    }
    while (format[i] == u'-' || format[i] == u'0') {
      ++i;
    }
    while (format[i] >= u'0' && format[i] <= u'9') {
      ++i;
    }
    int precision = -1;
    if (format[i] == u'.') {
      ++i;
      precision = 0;
      while (format[i] >= u'0' && format[i] <= u'9') {
        precision = precision * 10 + (format[i] - u'0');
        ++i;
      }
    }
    FormatArg::Kind wanted;
    if (format[i] == u'i' && precision < 0) {
      wanted = FormatArg::Kind::int32;
    } else if (format[i] == u'f' && precision >= 0 && precision <= 3) {
      wanted = FormatArg::Kind::real;
    } else if (format[i] == u's' && precision < 0) {
      wanted = FormatArg::Kind::text;
    } else {
      return -1;
    }
    if (used >= count || kinds[used] != wanted) {
      return -1;
    }
    ++used;
  }
  return used == count ? used : -1;
}

// True when `literal` is a supported format whose conversions take exactly Args, in order.
template <class... Args, size_t N>
constexpr bool format_matches(const char16_t (&literal)[N]) {
  constexpr FormatArg::Kind kinds[sizeof...(Args) + 1] = {kind_of<std::decay_t<Args>>()...,
                                                          FormatArg::Kind::int32};
  return check_format(literal, kinds, static_cast<int>(sizeof...(Args))) >= 0;
}

void throw_bad_format();  // never defined: reaching it in a constant expression fails the build

}  // namespace format_detail

// A format string literal whose conversions were checked against Args at compile time.
template <class... Args>
struct CheckedFormat {
  const char16_t* text;
  template <size_t N>
  consteval CheckedFormat(const char16_t (&literal)[N]) : text(literal) {
    if (!format_detail::format_matches<Args...>(literal)) {
      format_detail::throw_bad_format();
    }
  }
};

// Formats into `buffer` of `capacity` units; returns the units written before the terminator.
// The format must have been validated for `args` (CheckedFormat does that at compile time).
size_t format_into(char16_t* buffer, size_t capacity, const char16_t* format, const FormatArg* args,
                   size_t arg_count);

template <class... Args>
size_t format_wide(char16_t (&buffer)[kWideTextSize], CheckedFormat<std::type_identity_t<Args>...> format,
                   Args... args) {
  const FormatArg packed[sizeof...(Args) + 1] = {format_arg(args)..., format_arg(0)};
  return format_into(buffer, kWideTextSize, format.text, packed, sizeof...(Args));
}

template <class... Args>
size_t format_path(char16_t (&buffer)[kPathTextSize], CheckedFormat<std::type_identity_t<Args>...> format,
                   Args... args) {
  const FormatArg packed[sizeof...(Args) + 1] = {format_arg(args)..., format_arg(0)};
  return format_into(buffer, kPathTextSize, format.text, packed, sizeof...(Args));
}

// Unsigned Windows fields are shown through "%i" as signed 32-bit numbers; this makes that visible.
constexpr int32_t as_i32(uint32_t value) {
  return static_cast<int32_t>(value);
}
