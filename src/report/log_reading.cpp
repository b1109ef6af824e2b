#include "report/log_reading.h"

#include <charconv>
#include <cstdio>

#include "report/text_encoding.h"

namespace {

constexpr std::string_view kS1Header =
    "Item\tTime\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)";
constexpr std::string_view kSleepHeader = "Time\tLife%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr size_t kExcerptLength = 60;

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
    if (c != prefix[i]) {
      return false;
    }
  }
  return true;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  while (!text.empty() && text.back() == ' ') {
    text.remove_suffix(1);
  }
  return text;
}

bool parse_int32(std::string_view text, int32_t& value) {
  text = trimmed(text);
  if (text.empty()) {
    return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool parse_two_digits(std::string_view text, int limit, int32_t& value) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
    return false;
  }
  value = (text[0] - '0') * 10 + (text[1] - '0');
  return value < limit;
}

// "HH:MM:SS NN.NN%": the time and the life percentage share one field, a space apart. Without a
// full-charged capacity the panels print N/A (older builds printed what the division gave).
bool parse_time_and_life(std::string_view field, LogRow& row) {
  int32_t hour = 0, minute = 0, second = 0;
  if (field.size() < 10 || field[2] != ':' || field[5] != ':' || field[8] != ' ' ||
      !parse_two_digits(field.substr(0, 2), 24, hour) || !parse_two_digits(field.substr(3, 2), 60, minute) ||
      !parse_two_digits(field.substr(6, 2), 60, second) || field.back() != '%') {
    return false;
  }
  row.seconds_of_day = (hour * 60 + minute) * 60 + second;
  const std::string_view life = trimmed(field.substr(9, field.size() - 10));
  for (const std::string_view unknown : {"N/A", "inf", "-inf", "nan", "-nan", "1.#INF", "-1.#IND"}) {
    if (life == unknown) {
      row.life_known = false;
      return true;
    }
  }
  if (life.empty() || life.find_first_not_of("0123456789.-") != std::string_view::npos) {
    return false;
  }
  const auto [end, error] = std::from_chars(life.data(), life.data() + life.size(), row.life_percent);
  row.life_known = error == std::errc() && end == life.data() + life.size();
  return row.life_known;
}

std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

// One row; false when the line is not a row of its kind.
bool parse_row(std::string_view line, bool s1, LogRow& row) {
  const std::vector<std::string_view> fields = fields_of(line);
  const size_t first = s1 ? 1 : 0;
  if (fields.size() != first + 5) {
    return false;
  }
  if (s1 && (!parse_int32(fields[0], row.item) || row.item < 0)) {
    return false;
  }
  if (!parse_time_and_life(fields[first], row) || !parse_int32(fields[first + 1], row.full) ||
      !parse_int32(fields[first + 2], row.remains) || !parse_int32(fields[first + 3], row.rate) ||
      !parse_int32(fields[first + 4], row.diff)) {
    return false;
  }
  // The panel divides whatever the driver gave: a percentage of an unknown capacity is no figure.
  row.life_known = row.life_known && row.full_known() && row.remains_known();
  return true;
}

std::string excerpt(std::string_view line) {
  std::string shown = ansi_to_utf8(line.substr(0, kExcerptLength));
  for (char& c : shown) {
    if (c == '\t') {
      c = ' ';
    } else if (static_cast<unsigned char>(c) < 0x20) {
      c = '?';
    }
  }
  return line.size() > kExcerptLength ? shown + "..." : shown;
}

// "S1-14h06m13s-2026y12m07d": the date and time of the start, wherever they stand in the name.
void read_name_stamp(std::string_view name, ReadLog& log) {
  for (size_t at = name.find('-'); at != std::string_view::npos; at = name.find('-', at + 1)) {
    int hour = 0, minute = 0, second = 0, year = 0, month = 0, day = 0;
    char h = 0, m = 0, s = 0, dash = 0, y = 0, mo = 0, d = 0;
    const std::string candidate(name.substr(at, 40));
    if (std::sscanf(candidate.c_str(), "-%2d%c%2d%c%2d%c%c%5d%c%2d%c%2d%c", &hour, &h, &minute, &m, &second,
                    &s, &dash, &year, &y, &month, &mo, &day, &d) == 13 &&
        h == 'h' && m == 'm' && s == 's' && dash == '-' && y == 'y' && mo == 'm' && d == 'd' && year > 0 &&
        month >= 1 && month <= 12 && day >= 1 && day <= 31) {
      log.start_date = {year, month, day};
      if (hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60) {
        log.name_seconds_of_day = (hour * 60 + minute) * 60 + second;
      }
      return;
    }
  }
}

ReportLogKind sleep_kind_of(std::string_view name) {
  if (starts_with_ignoring_case(name, "S3-")) {
    return ReportLogKind::s3;
  }
  if (starts_with_ignoring_case(name, "S4-")) {
    return ReportLogKind::s4;
  }
  return ReportLogKind::sleep;
}

}  // namespace

std::string_view base_name(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

ReadLog read_log(std::string_view name, std::string_view bytes) {
  ReadLog log;
  log.name = shown_text(name);
  read_name_stamp(base_name(name), log);
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    bytes.remove_prefix(kUtf8Mark.size());  // an editor that saved it again as UTF-8
  }
  bool seen_crlf = false, seen_lf = false;
  bool s1 = false;
  int line_number = 0;
  int32_t previous_seconds = 0;
  int64_t elapsed = 0;
  while (!bytes.empty()) {
    ++line_number;
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (end == std::string_view::npos) {
      log.cut_mid_line = true;
    } else if (!line.empty() && line.back() == '\r') {
      seen_crlf = true;
    } else {
      seen_lf = true;
    }
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line_number == 1) {
      if (line == kS1Header) {
        s1 = true;
        log.kind = ReportLogKind::s1;
      } else if (line == kSleepHeader) {
        log.kind = sleep_kind_of(base_name(name));
      } else {
        log.problems.push_back({1,
                                "not a Chargewright test log: the first line is not the header of an S1, "
                                "S3 or S4 log (it reads \"" +
                                    excerpt(line) + "\")"});
        return log;
      }
      log.is_log = true;
      continue;
    }
    if (trimmed(line).empty()) {
      continue;  // a blank line an editor left
    }
    LogRow row;
    row.line = line_number;
    if (!parse_row(line, s1, row)) {
      const bool last = bytes.empty();
      log.problems.push_back({line_number, std::string(last && log.cut_mid_line ? "the row is cut off"
                                                                                : "the row cannot be read") +
                                               " (it reads \"" + excerpt(line) + "\")"});
      continue;
    }
    if (!log.rows.empty()) {
      int32_t step = row.seconds_of_day - previous_seconds;
      elapsed += step < 0 ? step + kSecondsPerDay : step;
    }
    previous_seconds = row.seconds_of_day;
    row.elapsed_s = elapsed;
    log.rows.push_back(row);
  }
  if (line_number == 0) {
    log.problems.push_back({0, "the file is empty"});
  }
  log.line_ends = seen_lf ? (seen_crlf ? LineEnds::mixed : LineEnds::lf) : LineEnds::crlf;
  return log;
}
