// Prints the formatter's output for a fixed list of values, one UTF-8 line per value and format, and
// digests of the battery arithmetic over millions of inputs, so the Linux and Windows builds can be
// shown to produce identical bytes:
//   cmp <(format_dump) <(tests/tools/wine-run.sh format_dump.exe)
// Every input double is built from bits or by exact operations, so the inputs are the same on every
// compiler and floating-point unit; each line starts with the input's bits to make a difference readable.
#include <bit>
#include <cstdint>
#include <cstdio>

#include "../shared/splitmix.h"
#include "battery/life_percent.h"
#include "panel/panel_tick.h"
#include "text/format.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using Random = Splitmix;

class Utf8Output {
 public:
  ~Utf8Output() { flush(); }

  void hex(uint64_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
      byte("0123456789abcdef"[(value >> shift) & 0xF]);
    }
  }

  // Writes a UTF-16 text as UTF-8; a lone surrogate becomes U+FFFD.
  void text(const char16_t* units) {
    for (size_t i = 0; units[i] != 0; ++i) {
      uint32_t code = units[i];
      if (code >= 0xD800 && code <= 0xDBFF && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
        ++i;
      } else if (code >= 0xD800 && code <= 0xDFFF) {
        code = 0xFFFD;
      }
      if (code < 0x80) {
        byte(code);
      } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
      } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
      }
    }
  }

  void byte(uint32_t value) {
    if (length_ == sizeof buffer_) {
      flush();
    }
    buffer_[length_++] = static_cast<unsigned char>(value);
  }

 private:
  void flush() {
    std::fwrite(buffer_, 1, length_, stdout);
    length_ = 0;
  }

  unsigned char buffer_[1 << 16];
  size_t length_ = 0;
};

// The program's own formats first, then the other precisions and flags the formatter accepts.
// Takes the bits, not a double: passing a double through the x87 unit would quiet a signalling NaN.
void dump_real(Utf8Output& out, uint64_t bits, size_t rotation) {
  const double value = std::bit_cast<double>(bits);
  char16_t line[kWideTextSize];
  switch (rotation % 7) {
    case 0:
      format_wide(line, u"%4.02f", value);
      break;
    case 1:
      format_wide(line, u"%.0f", value);
      break;
    case 2:
      format_wide(line, u"%.1f", value);
      break;
    case 3:
      format_wide(line, u"%.3f", value);
      break;
    case 4:
      format_wide(line, u"%08.3f", value);
      break;
    case 5:
      format_wide(line, u"%-9.2f|", value);
      break;
    default:
      format_wide(line, u"%012.1f", value);
      break;
  }
  char16_t two_decimals[kWideTextSize];
  format_wide(two_decimals, u"%.02f", value);
  out.hex(bits, 16);
  out.byte(' ');
  out.text(two_decimals);
  out.byte(' ');
  out.text(line);
  out.byte('\n');
}

void dump_int(Utf8Output& out, int32_t value) {
  char16_t line[kWideTextSize];
  format_wide(line, u"%i [%02i] [%8i] [%-8i] [%08i] %i%%", value, value, value, value, value, value);
  out.hex(static_cast<uint32_t>(value), 8);
  out.byte(' ');
  out.text(line);
  out.byte('\n');
}

uint64_t bits_of(double value) {
  return std::bit_cast<uint64_t>(value);
}

// A digest of a block of results: one changed result always changes it, as each step is a bijection.
class Digest {
 public:
  void add(uint64_t value) { state_ = (state_ ^ value) * 0x100000001B3u; }
  uint64_t value() const { return state_; }

 private:
  uint64_t state_ = 0xCBF29CE484222325u;
};

constexpr uint32_t kBlockSize = 1u << 16;

// Life percentages of (remaining, full) pairs, one line per block: its first pair and the digest of
// the results' bits. `pair(i, remaining, full)` gives the i-th pair.
template <class PairAt>
void dump_life_percents(Utf8Output& out, uint32_t count, PairAt pair) {
  static BatterySnapshot battery;
  for (uint32_t start = 0; start < count; start += kBlockSize) {
    Digest digest;
    for (uint32_t i = start; i < count && i < start + kBlockSize; ++i) {
      pair(i, battery.remaining_capacity, battery.full_charged_capacity);
      if (i == start) {
        out.text(u"life ");
        out.hex(battery.remaining_capacity, 8);
        out.byte(' ');
        out.hex(battery.full_charged_capacity, 8);
        out.byte(' ');
      }
      digest.add(bits_of(life_percent(battery)));
    }
    out.hex(digest.value(), 16);
    out.byte('\n');
  }
}

// The remaining-time estimate's energy, its one floating-point step, the same way.
template <class UsableAt>
void dump_estimate_energies(Utf8Output& out, uint32_t count, UsableAt usable_at) {
  for (uint32_t start = 0; start < count; start += kBlockSize) {
    Digest digest;
    out.text(u"estimate ");
    out.hex(usable_at(start), 8);
    out.byte(' ');
    for (uint32_t i = start; i < count && i < start + kBlockSize; ++i) {
      digest.add(estimate_energy(usable_at(i)));
    }
    out.hex(digest.value(), 16);
    out.byte('\n');
  }
}

}  // namespace

int main() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays one byte, as on Linux
#endif
  Utf8Output out;
  Random random;
  const uint64_t specials[] = {0x0000000000000000u, 0x8000000000000000u, 0x7FF0000000000000u,
                               0xFFF0000000000000u, 0x7FF8000000000000u, 0xFFF8000000000000u,
                               0x7FEFFFFFFFFFFFFFu, 0x0010000000000000u, 0x0000000000000001u};
  size_t rotation = 0;
  for (uint64_t bits : specials) {
    for (int format = 0; format < 7; ++format) {
      dump_real(out, bits, rotation++);
    }
  }
  for (int power = 0; power < 2047; ++power) {  // every power of two, and the double just below it
    const uint64_t bits = static_cast<uint64_t>(power) << 52;
    dump_real(out, bits, rotation++);
    dump_real(out, bits - 1, rotation++);
  }
  for (int i = 0; i < 10000; ++i) {  // anywhere in the range
    dump_real(out, random.next(), rotation++);
  }
  for (int i = 0; i < 60000; ++i) {  // about 1e-12 .. 1e12, where the decimals matter
    const uint64_t exponent_field = 1023 - 40 + random.next32() % 80;
    dump_real(out, (random.next() >> 12) | (exponent_field << 52) | (random.next() & (1ull << 63)),
              rotation++);
  }
  for (int i = 0; i < 40000; ++i) {  // exact halves for 0..3 decimals and their neighbours
    const double whole = static_cast<double>(random.next32() % 10000000u);
    const int bits = 1 + static_cast<int>(random.next32() % 12);
    const uint32_t odd = 2 * (random.next32() % (1u << (bits - 1))) + 1;
    const double tie = whole + static_cast<double>(odd) / static_cast<double>(1u << bits);
    const uint64_t tie_bits = bits_of(tie);
    dump_real(out, tie_bits, rotation++);
    dump_real(out, tie_bits - 1, rotation++);
    dump_real(out, tie_bits + 1, rotation++);
  }
  for (int i = 0; i < 10000; ++i) {  // whole numbers up to 2^64
    dump_real(out, bits_of(static_cast<double>(random.next() >> (random.next32() % 64))), rotation++);
  }
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -100, -10, -9, -1, 0, 1, 9, 10, 99, 100, INT32_MAX};
  for (int32_t value : extremes) {
    dump_int(out, value);
  }
  for (int i = 0; i < 40000; ++i) {
    dump_int(out, static_cast<int32_t>(random.next32()) >> (random.next32() % 32));
  }
  const char16_t* const texts[] = {u"",          u"a",         u"Battery",         u"12345678",
                                   u"123456789", u"caf\u00e9", u"\U0001F50B 100%", nullptr};
  for (const char16_t* text : texts) {
    char16_t line[kWideTextSize];
    format_wide(line, u"[%s] [%8s] [%-8s] [%05s] %%", text, text, text, text);
    out.text(line);
    out.byte('\n');
  }

  // Every pair of small capacities, then capacities of real packs, then any 32-bit values.
  dump_life_percents(out, 2560u * 2048u, [](uint32_t i, uint32_t& remaining, uint32_t& full) {
    remaining = i % 2048u;
    full = 1 + i / 2048u;
  });
  Random pack_random;
  dump_life_percents(out, 1u << 20, [&](uint32_t, uint32_t& remaining, uint32_t& full) {
    full = 20000 + pack_random.next32() % 100000u;
    remaining = pack_random.next32() % (full + full / 20);
  });
  dump_life_percents(out, 1u << 20, [&](uint32_t, uint32_t& remaining, uint32_t& full) {
    remaining = pack_random.next32();
    full = pack_random.next32() >> (pack_random.next32() % 32);
  });
  dump_estimate_energies(out, 1u << 22, [](uint32_t i) { return i; });
  dump_estimate_energies(out, 1u << 20, [](uint32_t i) { return 0xFFFFFFFFu - i; });
  dump_estimate_energies(out, 1u << 20, [](uint32_t i) { return i * 2654435761u; });
  return 0;
}
