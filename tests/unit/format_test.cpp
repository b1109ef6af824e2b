#include "text/format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "../shared/splitmix.h"
#include "text/wide_text.h"

namespace {

std::u16string widen(const char* text) {
  std::u16string wide;
  for (; *text != 0; ++text) {
    wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  }
  return wide;
}

std::string narrow(const char16_t* text) {
  std::string ascii;
  for (; *text != 0; ++text) {
    ascii.push_back(*text < 128 ? static_cast<char>(*text) : '?');
  }
  return ascii;
}

// Formats one argument with a format given at run time, as ASCII.
std::string format_one(const char* format, FormatArg arg) {
  char16_t buffer[kWideTextSize];
  const size_t length = format_into(buffer, kWideTextSize, widen(format).c_str(), &arg, 1);
  EXPECT_EQ(length, wide_length(buffer, kWideTextSize));
  return narrow(buffer);
}

using Random = Splitmix;

TEST(Format, ChecksConversionsAgainstArgumentsAtCompileTime) {
  using format_detail::format_matches;
  static_assert(format_matches<int32_t>(u"%i") && format_matches<int32_t>(u"%02i"));
  static_assert(format_matches<int32_t, double, const char16_t*>(u"%8i %4.02f %s 100%%"));
  static_assert(format_matches<double>(u"%.02f") && format_matches<double>(u"%-9.0f"));
  static_assert(format_matches<>(u"plain %% text"));
  static_assert(!format_matches<double>(u"%i"), "a double for %i");
  static_assert(!format_matches<int32_t>(u"%.02f"), "an int for %f");
  static_assert(!format_matches<int32_t>(u"%s"), "an int for %s");
  static_assert(!format_matches<double>(u"%f"), "default precision 6 is not supported");
  static_assert(!format_matches<double>(u"%.4f"), "precision above 3");
  static_assert(!format_matches<int32_t>(u"%.2i") && !format_matches<int32_t>(u"%u"));
  static_assert(!format_matches<int32_t, int32_t>(u"%i"), "argument without conversion");
  static_assert(!format_matches<int32_t>(u"%i %i"), "conversion without argument");
  static_assert(!format_matches<>(u"trailing %"));
  SUCCEED();
}

TEST(Format, FormatsThroughTheCheckedEntryPoints) {
  char16_t text[kWideTextSize];
  EXPECT_EQ(format_wide(text, u"%s\r\n%s %s", u"ASUSTeK", u"K53SV", u"C1N0AS"), 21u);
  EXPECT_EQ(narrow(text), "ASUSTeK\r\nK53SV C1N0AS");
  format_wide(text, u"%i mWh, %i%%, %4.02f V", as_i32(0xFFFFFFFFu), 37, 11.1);
  EXPECT_EQ(narrow(text), "-1 mWh, 37%, 11.10 V");

  char16_t path[kPathTextSize];
  format_path(path, u"S3-%02ih%02im%02is-%iy%02im%02id.txt", 9, 5, 3, 2012, 7, 4);
  EXPECT_EQ(narrow(path), "S3-09h05m03s-2012y07m04d.txt");
}

// Results glibc's printf gives; they also pin the formatter on Windows, where printf cannot.
TEST(Format, RoundsDoublesFromTheirExactBinaryValue) {
  EXPECT_EQ(format_one("%.02f", format_arg(0.125)), "0.12");  // exact half: to even
  EXPECT_EQ(format_one("%.02f", format_arg(0.375)), "0.38");
  EXPECT_EQ(format_one("%.02f", format_arg(2.675)), "2.67");  // stored just below the half
  EXPECT_EQ(format_one("%.02f", format_arg(1.005)), "1.00");
  EXPECT_EQ(format_one("%.3f", format_arg(0.0625)), "0.062");
  EXPECT_EQ(format_one("%.0f", format_arg(0.5)), "0");
  EXPECT_EQ(format_one("%.0f", format_arg(1.5)), "2");
  EXPECT_EQ(format_one("%.0f", format_arg(2.5)), "2");
  EXPECT_EQ(format_one("%.1f", format_arg(0.25)), "0.2");
  EXPECT_EQ(format_one("%.02f", format_arg(-0.001)), "-0.00");
  EXPECT_EQ(format_one("%.02f", format_arg(-0.0)), "-0.00");
  EXPECT_EQ(format_one("%.3f", format_arg(std::numeric_limits<double>::denorm_min())), "0.000");
  EXPECT_EQ(format_one("%.0f", format_arg(1e23)), "99999999999999991611392");
  EXPECT_EQ(
      format_one("%.0f", format_arg(std::numeric_limits<double>::max())),
      "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863276687817"
      "15404589535143824642343213268894641827684675467035375169860499105765512820762454900903893289440758685"
      "08455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124"
      "858368");
}

TEST(Format, PadsAndSignsLikePrintf) {
  EXPECT_EQ(format_one("%02i", format_arg(-5)), "-5");
  EXPECT_EQ(format_one("%04i", format_arg(-5)), "-005");
  EXPECT_EQ(format_one("%-04i|", format_arg(-5)), "-5  |");
  EXPECT_EQ(format_one("%8i", format_arg(INT32_MIN)), "-2147483648");
  EXPECT_EQ(format_one("%4.02f", format_arg(3.14159)), "3.14");
  EXPECT_EQ(format_one("%8.02f", format_arg(-3.14159)), "   -3.14");
  EXPECT_EQ(format_one("%08.02f", format_arg(-3.14159)), "-0003.14");
  EXPECT_EQ(format_one("%08.2f", format_arg(-INFINITY)), "    -inf");  // no zeros for inf and nan
  EXPECT_EQ(format_one("%-6.2f|", format_arg(std::numeric_limits<double>::quiet_NaN())), "nan   |");
  EXPECT_EQ(format_one("%.2f", format_arg(-std::numeric_limits<double>::quiet_NaN())), "-nan");
  EXPECT_EQ(format_one("%05s", format_arg(u"ab")), "   ab");
  EXPECT_EQ(format_one("%-4s|", format_arg(u"ab")), "ab  |");
  EXPECT_EQ(format_one("%8s", format_arg(static_cast<const char16_t*>(nullptr))), "  (null)");
}

TEST(Format, CopiesUnsupportedOrUnmatchedConversionsVerbatim) {
  EXPECT_EQ(format_one("%f|%x|%.4f", format_arg(1.0)), "%f|%x|%.4f");
  EXPECT_EQ(format_one("%i", format_arg(1.0)), "%i");
  EXPECT_EQ(format_one("%.1f %i 50%", format_arg(1.0)), "1.0 %i 50%");
  EXPECT_EQ(format_one("%02", format_arg(1)), "%02");
}

TEST(Format, KeepsUtf16TextUnchanged) {
  char16_t text[kWideTextSize];
  format_wide(text, u"[%4s]", u"\u00e9\U0001F600");
  EXPECT_TRUE(wide_equal(text, u"[ \u00e9\U0001F600]"));
}

// Every capacity from 0 up: nothing past the buffer, always terminated, a prefix of the full result.
void expect_cut_safely(const char16_t* format, FormatArg arg, const char16_t* full) {
  const size_t full_length = wide_length(full, kWideTextSize);
  constexpr char16_t kGuard = 0xBEEF;
  for (size_t capacity = 0; capacity <= full_length + 2; ++capacity) {
    char16_t buffer[kWideTextSize + 8];
    std::fill(std::begin(buffer), std::end(buffer), kGuard);
    const size_t length = format_into(buffer, capacity, format, &arg, 1);
    for (size_t i = capacity; i < std::size(buffer); ++i) {
      ASSERT_EQ(buffer[i], kGuard) << "capacity " << capacity << " unit " << i;
    }
    if (capacity == 0) {
      EXPECT_EQ(length, 0u);
      continue;
    }
    ASSERT_LT(length, capacity);
    EXPECT_EQ(buffer[length], 0);
    EXPECT_EQ(std::u16string(buffer, length), std::u16string(full, std::min(length, full_length)));
    EXPECT_EQ(length, std::min(full_length, capacity - 1)) << "capacity " << capacity;
  }
}

TEST(Format, CutsOutputAtEveryCapacityWithoutPassingTheBuffer) {
  expect_cut_safely(u"id %8i.", format_arg(-42), u"id      -42.");
  expect_cut_safely(u"%-8i|%%", format_arg(7), u"7       |%");
  expect_cut_safely(u"v=%08.3f!", format_arg(-2.5), u"v=-002.500!");
  expect_cut_safely(u"%s", format_arg(u"hello"), u"hello");
  expect_cut_safely(u"%8s", format_arg(u"ab"), u"      ab");
  expect_cut_safely(u"%.0f", format_arg(1e23), u"99999999999999991611392");
}

TEST(Format, NeverLeavesHalfASurrogatePairAtACut) {
  char16_t buffer[8];
  const FormatArg arg = format_arg(u"ab\U0001F600c");
  EXPECT_EQ(format_into(buffer, 4, u"%s", &arg, 1), 2u);
  EXPECT_TRUE(wide_equal(buffer, u"ab"));
  EXPECT_EQ(format_into(buffer, 5, u"%s", &arg, 1), 4u);
  EXPECT_TRUE(wide_equal(buffer, u"ab\U0001F600"));
}

TEST(Format, CutsTheLargestDoubleToAPathBuffer) {
  char16_t path[kPathTextSize + 4];
  std::fill(std::begin(path), std::end(path), u'#');
  const FormatArg arg = format_arg(-std::numeric_limits<double>::max());
  EXPECT_EQ(format_into(path, kPathTextSize, u"%.02f", &arg, 1), kPathTextSize - 1);
  EXPECT_EQ(path[kPathTextSize - 1], 0);
  EXPECT_EQ(path[kPathTextSize], u'#');
  EXPECT_EQ(narrow(path).substr(0, 6), "-17976");
}

#ifndef _WIN32
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kRounds = 10;  // sanitizers make each comparison many times slower
#else
constexpr size_t kRounds = 100;
#endif

// Compares the formatter with the C library's snprintf; counts values so the report shows coverage.
class PrintfComparison {
 public:
  template <class T>
  void compare(const char* format, T value) {
    char expected[kWideTextSize];
    std::snprintf(expected, sizeof expected, format, value);
    char16_t wide_format[32];
    size_t i = 0;
    for (; format[i] != 0; ++i) {
      wide_format[i] = static_cast<char16_t>(format[i]);
    }
    wide_format[i] = 0;
    const FormatArg arg = format_arg(value);
    char16_t actual[kWideTextSize];
    const size_t length = format_into(actual, kWideTextSize, wide_format, &arg, 1);
    ++compared_;
    bool same = length == std::strlen(expected);
    for (size_t k = 0; same && k <= length; ++k) {
      same = actual[k] == static_cast<char16_t>(expected[k]);
    }
    if (!same && ++mismatches_ <= 10) {
      ADD_FAILURE() << format << " of " << value << ": printf \"" << expected << "\", formatter \""
                    << narrow(actual) << "\"";
    }
  }
  ~PrintfComparison() { std::printf("[ compared ] %zu values with snprintf\n", compared_); }

 private:
  size_t compared_ = 0;
  size_t mismatches_ = 0;
};

const char* const kRealFormats[] = {"%4.02f", "%.02f", "%.0f", "%.1f", "%.3f", "%08.3f", "%-9.2f", "%012.1f"};

void compare_real(PrintfComparison& check, double value, size_t rotation) {
  check.compare("%.02f", value);
  check.compare(kRealFormats[rotation % std::size(kRealFormats)], value);
}

TEST(FormatAgainstPrintf, SpecialDoubles) {
  PrintfComparison check;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double values[] = {0.0,
                           -0.0,
                           INFINITY,
                           -INFINITY,
                           nan,
                           -nan,
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           0.005,
                           0.015,
                           0.0005,
                           9.995,
                           99.995,
                           999.9995,
                           1e15,
                           1e16,
                           1e17};
  for (double value : values) {
    for (const char* format : kRealFormats) {
      check.compare(format, value);
      check.compare(format, -value);
    }
  }
  for (int power = -1074; power <= 1023; ++power) {
    compare_real(check, std::ldexp(1.0, power), static_cast<size_t>(power + 1074));
    compare_real(check, std::nextafter(std::ldexp(1.0, power), 0.0), static_cast<size_t>(power + 1075));
  }
  for (int power = -30; power <= 308; ++power) {
    compare_real(check, std::pow(10.0, power), static_cast<size_t>(power + 30));
  }
}

TEST(FormatAgainstPrintf, RandomBitPatternsAcrossTheWholeRange) {
  PrintfComparison check;
  Random random;
  for (size_t i = 0; i < kRounds * 2500; ++i) {
    compare_real(check, std::bit_cast<double>(random.next()), i);
  }
}

TEST(FormatAgainstPrintf, RandomValuesWhereDecimalsMatter) {
  PrintfComparison check;
  Random random;
  for (size_t i = 0; i < kRounds * 7000; ++i) {
    const double mantissa = static_cast<double>(random.next() >> 11);   // 53 random bits
    const int exponent = static_cast<int>(random.next32() % 100) - 90;  // about 1e-12 .. 1e12
    compare_real(check, std::ldexp(mantissa, exponent) * (i % 2 == 0 ? 1.0 : -1.0), i);
  }
}

TEST(FormatAgainstPrintf, ValuesAtAndNextToDecimalHalves) {
  PrintfComparison check;
  Random random;
  for (size_t i = 0; i < kRounds * 2000; ++i) {
    // Exact binary halves for 0..3 decimals (x.5, x.125, x.0625 ...), decimal ties like x.xx5 and
    // 32-bit binary fractions, each with its two neighbours.
    const double whole = static_cast<double>(random.next32() % (i % 3 == 0 ? 100u : 10000000u));
    const int bits = 1 + static_cast<int>(random.next32() % 12);
    const double fine = whole + std::ldexp(static_cast<double>(random.next32()), -32);
    const double exact =
        whole + std::ldexp(static_cast<double>(2 * (random.next32() % (1u << (bits - 1))) + 1), -bits);
    const double decimal_tie = whole + static_cast<double>(random.next32() % 1000u) / 1000.0 + 0.0005;
    for (double value : {exact, decimal_tie, fine}) {
      compare_real(check, value, i);
      compare_real(check, std::nextafter(value, 0.0), i + 1);
      compare_real(check, std::nextafter(value, INFINITY), i + 2);
    }
  }
}

TEST(FormatAgainstPrintf, IntegersAndPercentages) {
  PrintfComparison check;
  Random random;
  for (size_t i = 0; i < kRounds * 4000; ++i) {
    const double integer = static_cast<double>(random.next() >> (random.next32() % 64));
    compare_real(check, integer, i);
    const uint32_t part = random.next32();
    const uint32_t full = random.next32() | 1u;
    compare_real(check, part * 100.0 / full, i + 3);
    compare_real(check, (part % (full / 2 + 1)) * 100.0 / full, i + 5);  // the usual 0..100 range
  }
}

TEST(FormatAgainstPrintf, Int32ValuesWithEveryFlag) {
  PrintfComparison check;
  const char* const formats[] = {"%i", "%02i", "%8i", "%-8i", "%08i", "%-02i", "%012i", "[%3i]"};
  const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000000, -100,     -99, -10, -9, -1, 0, 1, 9, 10,
                              99,        100,           999999999,   INT32_MAX};
  for (int32_t value : extremes) {
    for (const char* format : formats) {
      check.compare(format, value);
    }
  }
  Random random;
  for (size_t i = 0; i < kRounds * 3000; ++i) {
    const int32_t value = static_cast<int32_t>(random.next32()) >> (random.next32() % 32);
    check.compare("%i", value);
    check.compare(formats[i % std::size(formats)], value);
  }
}

TEST(FormatAgainstPrintf, TextAndPercent) {
  const char* const formats[] = {"%s", "%8s", "%-8s", "%05s", "<%s>%%", "%%%s%%", "%1s"};
  const char* const texts[] = {
      "", "a", "Battery", "12345678", "123456789", "100% charged", "C:\\logs\\x.txt"};
  for (const char* format : formats) {
    for (const char* text : texts) {
      char expected[64];
      std::snprintf(expected, sizeof expected, format, text);
      EXPECT_EQ(format_one(format, format_arg(widen(text).c_str())), expected) << format << " " << text;
    }
  }
}
#endif  // _WIN32

}  // namespace
