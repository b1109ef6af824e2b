#include "s1_session_checks.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "control_ids.h"
#include "log_directory.h"
#include "log_file_text.h"
#include "log_viewer.h"
#include "panel_run.h"
#include "polling.h"
#include "window_access.h"

namespace {

constexpr DWORD kCaptionTimeoutMs = 10000;
// The minute block fires 59 ticks after the panel's initialisation at start; allow for slow ticks.
constexpr DWORD kMinuteRowTimeoutMs = 80000;

ClockTime clock_of(const SYSTEMTIME& time) {
  return ClockTime{time.wHour, time.wMinute, time.wSecond};
}

SYSTEMTIME local_now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now;
}

bool same_date(const TestLogName& name, const SYSTEMTIME& time) {
  return name.year == time.wYear && name.month == time.wMonth && name.day == time.wDay;
}

// Exactly one file in the directory, named as an S1 log of the start moment.
std::optional<std::wstring> check_log_name(CheckLog& log, const LogDirectory& directory,
                                           const SYSTEMTIME& before, const SYSTEMTIME& after) {
  const std::vector<std::wstring> names = directory.file_names();
  std::string listed;
  for (const std::wstring& name : names) {
    listed += (listed.empty() ? "" : ", ") + to_utf8(name);
  }
  if (!log.expect(names.size() == 1,
                  "launch 4: the session creates one file in the program's current directory",
                  std::to_string(names.size()) + " files: " + listed)) {
    return std::nullopt;
  }
  const std::optional<TestLogName> parsed = parse_test_log_name(to_utf8(names[0]), "S1");
  log.expect(parsed.has_value(), "log is named S1-HHhMMmSSs-YYYYyMMmDDd.txt", quoted(listed));
  log.expect(parsed && clock_within(parsed->time, clock_of(before), clock_of(after)) &&
                 (same_date(*parsed, before) || same_date(*parsed, after)),
             "log name carries the local date and time of the start", quoted(listed));
  return names[0];
}

struct SessionMoments {
  ClockTime named;         // from the log's name
  ClockTime stop_clicked;  // the driver's clock once the stop click was answered
  size_t lines_before_stop = 0;
};

// Every row after the header, parsed; faults reported with the first offending line.
std::vector<S1Row> check_rows(CheckLog& log, const std::vector<std::string>& lines) {
  std::vector<S1Row> rows;
  std::string bad_line;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::optional<S1Row> row = parse_s1_row(lines[i]);
    if (row) {
      rows.push_back(*row);
    } else if (bad_line.empty()) {
      bad_line = "line " + std::to_string(i + 1) + " " + quoted(lines[i]);
    }
  }
  log.expect(bad_line.empty() && !rows.empty(),
             "every row reads item, tab, HH:MM:SS, space, percentage and %, then four %8i numbers", bad_line);
  return rows;
}

void check_log_text(CheckLog& log, const std::string& text, const SessionMoments& moments) {
  log.expect(
      text.rfind("\xEF\xBB\xBF", 0) != 0 && text.rfind("\xFF\xFE", 0) != 0 && text.rfind("\xFE\xFF", 0) != 0,
      "log has no byte-order mark");
  const LogLines split = split_crlf_lines(text);
  log.expect(split.fault.empty(), "every line of the log ends with CR LF, no bare CR or LF", split.fault);
  const std::vector<std::string>& lines = split.lines;
  log.expect(moments.lines_before_stop >= 3 && lines.size() == moments.lines_before_stop + 1,
             "stopping appends exactly one row",
             std::to_string(moments.lines_before_stop) + " lines before the stop, " +
                 std::to_string(lines.size()) + " after");
  log.expect(!lines.empty() && lines[0] == kS1Header, "first line is the S1 header",
             lines.empty() ? "empty log" : quoted(lines[0]));

  const std::vector<S1Row> rows = check_rows(log, lines);
  if (rows.empty()) {
    return;
  }
  log.expect(rows[0].item == 0 && rows[0].fields.diff == 0 && rows[0].fields.time == moments.named,
             "start row has Item 0, Diff 0 and the time in the log's name", quoted(lines[1]));
  std::string out_of_order;
  for (size_t i = 0; i < rows.size() && out_of_order.empty(); ++i) {
    if (rows[i].item != static_cast<int>(i)) {
      out_of_order = "line " + std::to_string(i + 2) + " " + quoted(lines[i + 1]);
    }
  }
  log.expect(out_of_order.empty(), "rows are numbered 0, 1, 2, ... without gaps, the stop row last",
             out_of_order);

  // Wine has no battery: full-charged capacity 0, so the percentage is unknown and every number 0.
  std::string with_battery;
  for (size_t i = 0; i < rows.size() && with_battery.empty(); ++i) {
    const SleepRow& row = rows[i].fields;
    if (row.life_percent != " N/A" || row.full_charged != 0 || row.remaining != 0 || row.rate != 0 ||
        row.diff != 0) {
      with_battery = quoted(lines[i + 1]);
    }
  }
  log.expect(with_battery.empty(), "without a battery every row shows \" N/A%\" and all numbers 0",
             with_battery);

  std::string misplaced;
  int previous = 0;
  const int stop_offset = seconds_after(moments.named, moments.stop_clicked);
  for (size_t i = 0; i < rows.size() && misplaced.empty(); ++i) {
    const int offset = seconds_after(moments.named, rows[i].fields.time);
    if (offset < previous || offset > stop_offset + 1) {
      misplaced = quoted(lines[i + 1]);
    }
    previous = offset;
  }
  log.expect(misplaced.empty(), "row times run forward from the start and none is later than the stop",
             misplaced);
}

// The log as read, one line per output line with its CR and LF made visible.
void print_log(const std::wstring& name, const std::string& text) {
  std::printf("     %s:\n", to_utf8(name).c_str());
  for (size_t from = 0; from < text.size();) {
    const size_t end = text.find('\n', from);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    std::printf("     | %s\n", quoted(text.substr(from, next - from)).c_str());
    from = next;
  }
  std::fflush(stdout);
}

void run_session(CheckLog& log, PanelRun& run, const LogDirectory& directory) {
  const HWND button = run.control(IDC_S1_SAVE);
  const SYSTEMTIME before_start = local_now();
  send_message(button, BM_CLICK, 0, 0);
  log.expect(wait_until(kCaptionTimeoutMs, [&] { return run.text(IDC_S1_SAVE) == "Stop"; }),
             "launch 4: clicking \"S1 / Save\" renames it \"Stop\"", quoted(run.text(IDC_S1_SAVE)));
  const SYSTEMTIME after_start = local_now();
  const std::optional<std::wstring> name = check_log_name(log, directory, before_start, after_start);

  SessionMoments moments;
  if (name) {
    moments.named = parse_test_log_name(to_utf8(*name), "S1").value_or(TestLogName{}).time;
    log.expect(directory.complete_lines(*name) == 2, "the header and the start row are in the file at once",
               std::to_string(directory.complete_lines(*name)) + " lines");
    const ULONGLONG waiting_since = GetTickCount64();
    const bool minute_row =
        wait_until(kMinuteRowTimeoutMs, [&] { return directory.complete_lines(*name) >= 3; });
    if (log.expect(minute_row, "the minute block appends a row while the session runs",
                   "none after " + std::to_string(kMinuteRowTimeoutMs / 1000) + " s")) {
      std::printf("     (first minute row after %llu s)\n",
                  static_cast<unsigned long long>((GetTickCount64() - waiting_since) / 1000));
    }
    moments.lines_before_stop = directory.complete_lines(*name);
  }

  send_message(button, BM_CLICK, 0, 0);
  log.expect(wait_until(kCaptionTimeoutMs, [&] { return run.text(IDC_S1_SAVE) == "S1 / Save"; }),
             "clicking \"Stop\" turns the caption back to \"S1 / Save\"", quoted(run.text(IDC_S1_SAVE)));
  moments.stop_clicked = clock_of(local_now());
  if (name) {
    check_notepad_shows(log, "launch 4", *name);
    const std::optional<std::string> text = directory.read_file(*name);
    if (log.expect(text.has_value(), "the finished log can be read")) {
      print_log(*name, *text);
      check_log_text(log, *text, moments);
    }
  }

  send_message(run.control(IDC_EXIT), BM_CLICK, 0, 0);
  run.expect_exit_code_zero("clicking Exit after the session");
  log.expect(directory.file_names().size() == 1, "the log is the only file left in the directory",
             std::to_string(directory.file_names().size()) + " files");
}

}  // namespace

void check_s1_session(CheckLog& log, const std::wstring& exe) {
  LogDirectory directory;
  if (!log.expect(directory.created(), "launch 4: a fresh temporary directory for the log")) {
    return;
  }
  {
    PanelRun run(log, exe, "launch 4", directory.path());
    if (run.ready()) {
      run_session(log, run, directory);
    }
  }  // a launch whose checks failed is ended here, before its directory goes
  const std::wstring path = directory.path();
  log.expect(directory.remove() && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
             "the temporary log directory is removed");
}
