#include "text/format.h"

#include <bit>

#include "text/wide_text.h"

namespace {

// Appends to a fixed buffer, always keeping room for the terminator; the first unit that does not fit
// marks the output as cut and everything after it is dropped.
class BoundedWriter {
 public:
  BoundedWriter(char16_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  bool cut() const { return cut_; }

  void put(char16_t unit) {
    if (!cut_ && length_ + 1 < capacity_) {
      buffer_[length_++] = unit;
    } else {
      cut_ = true;
    }
  }

  void put_ascii(const char* text, size_t count) {
    for (size_t i = 0; i < count && !cut_; ++i) {
      put(static_cast<char16_t>(text[i]));
    }
  }

  void repeat(char16_t unit, size_t count) {
    for (; count > 0 && !cut_; --count) {
      put(unit);
    }
  }

  size_t finish() {
    if (capacity_ == 0) {
      return 0;
    }
    // A cut that separated a surrogate pair would leave half a character behind.
    if (cut_ && length_ > 0 && buffer_[length_ - 1] >= 0xD800 && buffer_[length_ - 1] <= 0xDBFF) {
      --length_;
    }
    buffer_[length_] = 0;
    return length_;
  }

 private:
  char16_t* buffer_;
  size_t capacity_;
  size_t length_ = 0;
  bool cut_ = false;
};

struct ConversionSpec {
  bool left_align = false;
  bool zero_pad = false;
  size_t width = 0;
  int precision = -1;
  char16_t conversion = 0;
  size_t length = 0;  // units from '%' through the conversion letter
};

// Widths beyond any buffer only cost time; capping them keeps the arithmetic from overflowing.
constexpr size_t kMaxWidth = 100000;

// Reads the conversion that starts at `at` (which points at '%'); false when it is not supported.
bool parse_spec(const char16_t* at, ConversionSpec& spec) {
  size_t i = 1;
  for (; at[i] == u'-' || at[i] == u'0'; ++i) {
    if (at[i] == u'-') {
      spec.left_align = true;
    } else {
      spec.zero_pad = true;
    }
  }
  for (; at[i] >= u'0' && at[i] <= u'9'; ++i) {
    spec.width = spec.width * 10 + static_cast<size_t>(at[i] - u'0');
    if (spec.width > kMaxWidth) {
      spec.width = kMaxWidth;
    }
  }
  if (at[i] == u'.') {
    spec.precision = 0;
    for (++i; at[i] >= u'0' && at[i] <= u'9'; ++i) {
      if (spec.precision < 10) {
        spec.precision = spec.precision * 10 + (at[i] - u'0');
      }
    }
  }
  spec.conversion = at[i];
  spec.length = at[i] == 0 ? i : i + 1;
  switch (spec.conversion) {
    case u'i':
    case u's':
      return spec.precision < 0;
    case u'f':
      return spec.precision >= 0 && spec.precision <= 3;
    default:
      return false;
  }
}

// Writes sign and body padded to the conversion's width the way printf does: '-' pads on the right, '0'
// (where allowed) puts zeros between the sign and the body, otherwise blanks go in front.
void put_padded(BoundedWriter& out, const ConversionSpec& spec, bool negative, const char* body,
                size_t body_length, bool zero_allowed) {
  const size_t length = body_length + (negative ? 1 : 0);
  const size_t padding = spec.width > length ? spec.width - length : 0;
  if (spec.left_align) {
    out.put_ascii("-", negative ? 1 : 0);
    out.put_ascii(body, body_length);
    out.repeat(u' ', padding);
  } else if (spec.zero_pad && zero_allowed) {
    out.put_ascii("-", negative ? 1 : 0);
    out.repeat(u'0', padding);
    out.put_ascii(body, body_length);
  } else {
    out.repeat(u' ', padding);
    out.put_ascii("-", negative ? 1 : 0);
    out.put_ascii(body, body_length);
  }
}

// Appends the decimal digits of `value` to `text` at `length`; `min_digits` pads with leading zeros.
void append_decimal(char* text, size_t& length, uint64_t value, size_t min_digits) {
  char reversed[20];
  size_t count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (; count < min_digits; ++count) {
    reversed[count] = '0';
  }
  while (count > 0) {
    text[length++] = reversed[--count];
  }
}

void put_int32(BoundedWriter& out, const ConversionSpec& spec, int32_t value) {
  // The magnitude is taken in unsigned arithmetic so INT32_MIN needs no special case.
  const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  char digits[10];
  size_t length = 0;
  append_decimal(digits, length, magnitude, 1);
  put_padded(out, spec, value < 0, digits, length, true);
}

// A non-negative integer below 2^1056, enough for any finite double; least significant limb first.
class WideUnsigned {
 public:
  // mantissa * 2^shift, for a mantissa below 2^53 and shift <= 971.
  WideUnsigned(uint64_t mantissa, unsigned shift) {
    const unsigned first = shift / 32;
    const unsigned bit = shift % 32;
    limbs_[first] = static_cast<uint32_t>(mantissa << bit);
    limbs_[first + 1] = static_cast<uint32_t>((mantissa << bit) >> 32);
    limbs_[first + 2] = static_cast<uint32_t>(bit == 0 ? 0 : mantissa >> (64 - bit));
    used_ = first + 3;
    trim();
  }

  bool is_zero() const { return used_ == 0; }

  // Divides in place and returns the remainder.
  uint32_t divide(uint32_t divisor) {
    uint64_t remainder = 0;
    for (unsigned i = used_; i-- > 0;) {
      const uint64_t current = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<uint32_t>(current / divisor);
      remainder = current % divisor;
    }
    trim();
    return static_cast<uint32_t>(remainder);
  }

 private:
  void trim() {
    while (used_ > 0 && limbs_[used_ - 1] == 0) {
      --used_;
    }
  }

  uint32_t limbs_[33] = {};
  unsigned used_ = 0;
};

// Longest finite body: 309 integer digits, the point and three decimals.
constexpr size_t kRealBodySize = 320;

// Digits of mantissa * 2^exponent (exponent >= 0), which is an integer however large.
void append_large_integer(char* text, size_t& length, uint64_t mantissa, unsigned exponent) {
  constexpr uint32_t kChunk = 1000000000;  // nine digits per division
  WideUnsigned value(mantissa, exponent);
  uint32_t chunks[36];
  size_t count = 0;
  while (!value.is_zero()) {
    chunks[count++] = value.divide(kChunk);
  }
  if (count == 0) {
    text[length++] = '0';
    return;
  }
  append_decimal(text, length, chunks[--count], 1);
  while (count > 0) {
    append_decimal(text, length, chunks[--count], 9);
  }
}

void put_real(BoundedWriter& out, const ConversionSpec& spec, double value) {
  constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000};
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const unsigned exponent_field = static_cast<unsigned>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (exponent_field == 0x7FF) {
    put_padded(out, spec, negative, fraction != 0 ? "nan" : "inf", 3, false);
    return;
  }
  // value = mantissa * 2^exponent exactly.
  const uint64_t mantissa = exponent_field == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int exponent = exponent_field == 0 ? -1074 : static_cast<int>(exponent_field) - 1075;
  const size_t precision = static_cast<size_t>(spec.precision);
  const uint64_t scale = kPowersOfTen[precision];

  char body[kRealBodySize];
  size_t length = 0;
  uint64_t decimals = 0;
  if (exponent >= 0) {
    append_large_integer(body, length, mantissa, static_cast<unsigned>(exponent));
  } else {
    // mantissa * 10^precision stays below 2^63, so the rounding is exact in 64 bits.
    const uint64_t scaled = mantissa * scale;
    const unsigned shift = static_cast<unsigned>(-exponent);
    uint64_t rounded = 0;  // below half a unit of the last decimal when shift >= 64
    if (shift < 64) {
      rounded = scaled >> shift;
      const uint64_t remainder = scaled & ((uint64_t{1} << shift) - 1);
      const uint64_t half = uint64_t{1} << (shift - 1);
      if (remainder > half || (remainder == half && (rounded & 1) != 0)) {
        ++rounded;
      }
    }
    append_decimal(body, length, rounded / scale, 1);
    decimals = rounded % scale;
  }
  if (precision > 0) {
    body[length++] = '.';
    append_decimal(body, length, decimals, precision);
  }
  put_padded(out, spec, negative, body, length, true);
}

void put_text(BoundedWriter& out, const ConversionSpec& spec, const char16_t* text) {
  if (text == nullptr) {
    text = u"(null)";
  }
  const size_t length = wide_length(text, spec.width);
  const size_t padding = spec.width > length ? spec.width - length : 0;
  if (!spec.left_align) {
    out.repeat(u' ', padding);
  }
  for (size_t i = 0; text[i] != 0 && !out.cut(); ++i) {
    out.put(text[i]);
  }
  if (spec.left_align) {
    out.repeat(u' ', padding);
  }
}

// Formats one conversion; false when the argument is missing or of another kind.
bool put_argument(BoundedWriter& out, const ConversionSpec& spec, const FormatArg& arg) {
  switch (spec.conversion) {
    case u'i':
      if (arg.kind != FormatArg::Kind::int32) {
        return false;
      }
      put_int32(out, spec, arg.int_value);
      return true;
    case u'f':
      if (arg.kind != FormatArg::Kind::real) {
        return false;
      }
      put_real(out, spec, arg.real_value);
      return true;
    default:
      if (arg.kind != FormatArg::Kind::text) {
        return false;
      }
      put_text(out, spec, arg.text_value);
      return true;
  }
}

}  // namespace

// A conversion that is not supported, or has no matching argument, is copied as it stands so the
// mistake is visible in the output instead of reading a wrong argument.
size_t format_into(char16_t* buffer, size_t capacity, const char16_t* format, const FormatArg* args,
                   size_t arg_count) {
  BoundedWriter out(buffer, capacity);
  size_t next_arg = 0;
  const char16_t* at = format;
  while (*at != 0 && !out.cut()) {
    if (at[0] != u'%') {
      out.put(*at++);
      continue;
    }
    if (at[1] == u'%') {
      out.put(u'%');
      at += 2;
      continue;
    }
    ConversionSpec spec;
    const bool supported = parse_spec(at, spec);
    if (supported && next_arg < arg_count && put_argument(out, spec, args[next_arg])) {
      ++next_arg;
    } else {
      for (size_t i = 0; i < spec.length; ++i) {
        out.put(at[i]);
      }
    }
    at += spec.length;
  }
  return out.finish();
}
