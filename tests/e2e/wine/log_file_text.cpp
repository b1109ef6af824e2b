#include "log_file_text.h"

#include <charconv>
#include <cstdint>

namespace {

bool all_digits(std::string_view text) {
  if (text.empty()) {
    return false;
  }
  for (char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

// Exactly `width` digits, as "%02i" prints 0 to 99 and "%i" a four-digit year.
std::optional<int> fixed_digits(std::string_view text, size_t width) {
  if (text.size() != width || !all_digits(text)) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::optional<ClockTime> clock_time(std::string_view hour, std::string_view minute, std::string_view second) {
  const auto h = fixed_digits(hour, 2), m = fixed_digits(minute, 2), s = fixed_digits(second, 2);
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) {
    return std::nullopt;
  }
  return ClockTime{*h, *m, *s};
}

// "%i": a minus sign for negatives, no leading zeros or spaces, within 32 bits.
std::optional<int> plain_integer(std::string_view text) {
  const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  if (!all_digits(digits) || (digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < INT32_MIN || value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

// "%8i": padded on the left with spaces to eight characters; wider numbers are never cut.
std::optional<int> right_aligned_8(std::string_view field) {
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos || (first > 0 && field.size() != 8) || field.size() < 8) {
    return std::nullopt;
  }
  return plain_integer(field.substr(first));
}

// "%4.02f" of a value of at least 0, or the marker for an unknown percentage padded to four.
bool life_percent_text(std::string_view text) {
  if (text == " N/A") {
    return true;
  }
  const size_t point = text.find('.');
  return point != std::string_view::npos && text.size() == point + 3 && all_digits(text.substr(0, point)) &&
         all_digits(text.substr(point + 1));
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  parts.push_back(text.substr(from));
  return parts;
}

}  // namespace

int seconds_after(const ClockTime& from, const ClockTime& to) {
  return (to.seconds_of_day() - from.seconds_of_day() + 86400) % 86400;
}

bool clock_within(const ClockTime& time, const ClockTime& from, const ClockTime& to) {
  const int from_a_second_earlier = (seconds_after(from, time) + 1) % 86400;
  return from_a_second_earlier <= seconds_after(from, to) + 2;
}

std::optional<TestLogName> parse_test_log_name(std::string_view name, std::string_view kind) {
  // KK-HHhMMmSSs-YYYYyMMmDDd.txt
  constexpr std::string_view shape = "KK-00h00m00s-0000y00m00d.txt";
  if (kind.size() != 2 || name.size() != shape.size() || name.substr(0, 2) != kind) {
    return std::nullopt;
  }
  for (size_t i = 2; i < shape.size(); ++i) {
    const bool digit_expected = shape[i] == '0';
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (digit_expected ? !digit : name[i] != shape[i]) {
      return std::nullopt;
    }
  }
  const auto time = clock_time(name.substr(3, 2), name.substr(6, 2), name.substr(9, 2));
  const auto year = fixed_digits(name.substr(13, 4), 4);
  const auto month = fixed_digits(name.substr(18, 2), 2);
  const auto day = fixed_digits(name.substr(21, 2), 2);
  if (!time || !year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
    return std::nullopt;
  }
  return TestLogName{*time, *year, *month, *day};
}

LogLines split_crlf_lines(std::string_view text) {
  LogLines result;
  auto note = [&result](const std::string& fault) {
    if (result.fault.empty()) {
      result.fault = "line " + std::to_string(result.lines.size() + 1) + " " + fault;
    }
  };
  size_t from = 0;
  while (from < text.size()) {
    const size_t end = text.find('\n', from);
    std::string_view line =
        text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
    if (end == std::string_view::npos) {
      note("has no CR LF at its end");
    } else if (line.empty() || line.back() != '\r') {
      note("ends with a bare LF");
    } else {
      line.remove_suffix(1);
    }
    if (line.find('\r') != std::string_view::npos) {
      note("holds a bare CR");
    }
    result.lines.emplace_back(line);
    from = end == std::string_view::npos ? text.size() : end + 1;
  }
  return result;
}

std::optional<SleepRow> parse_sleep_row(std::string_view line) {
  const std::vector<std::string_view> fields = split(line, '\t');
  if (fields.size() != 5) {
    return std::nullopt;
  }
  // First field: "HH:MM:SS", a space, the percentage and a percent sign.
  const std::string_view time_and_percent = fields[0];
  if (time_and_percent.size() < 11 || time_and_percent[2] != ':' || time_and_percent[5] != ':' ||
      time_and_percent[8] != ' ' || time_and_percent.back() != '%') {
    return std::nullopt;
  }
  const auto time =
      clock_time(time_and_percent.substr(0, 2), time_and_percent.substr(3, 2), time_and_percent.substr(6, 2));
  const std::string_view percent = time_and_percent.substr(9, time_and_percent.size() - 10);
  const auto full = right_aligned_8(fields[1]), remaining = right_aligned_8(fields[2]);
  const auto rate = right_aligned_8(fields[3]), diff = right_aligned_8(fields[4]);
  if (!time || !life_percent_text(percent) || !full || !remaining || !rate || !diff) {
    return std::nullopt;
  }
  return SleepRow{*time, std::string(percent), *full, *remaining, *rate, *diff};
}

std::optional<S1Row> parse_s1_row(std::string_view line) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) {
    return std::nullopt;
  }
  const auto item = plain_integer(line.substr(0, tab));
  const auto fields = parse_sleep_row(line.substr(tab + 1));
  if (!item || *item < 0 || !fields) {
    return std::nullopt;
  }
  return S1Row{*item, *fields};
}
