#include "sleep_run_checks.h"

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

constexpr DWORD kLogTimeoutMs = 10000;
constexpr DWORD kMessageBoxTimeoutMs = 3000;
constexpr int kBroadcastBurst = 100;
const char kWho[] = "launch 6";

const int kDelayFields[] = {IDC_WAKE_DAYS, IDC_WAKE_HOURS, IDC_WAKE_MINUTES, IDC_WAKE_SECONDS};

ClockTime local_clock() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ClockTime{now.wHour, now.wMinute, now.wSecond};
}

std::string delay_fields_text(const PanelRun& run) {
  std::string text;
  for (int id : kDelayFields) {
    text += (text.empty() ? "" : ",") + run.text(id);
  }
  return text;
}

// The one file in the directory whose name starts with `kind` ("S3" or "S4").
std::optional<std::wstring> find_log(const LogDirectory& directory, const std::wstring& kind) {
  std::optional<std::wstring> found;
  for (const std::wstring& name : directory.file_names()) {
    if (name.rfind(kind, 0) == 0) {
      if (found) {
        return std::nullopt;
      }
      found = name;
    }
  }
  return found;
}

// A test log as the checks know it: its file name and the moments around its start.
struct SleepLog {
  std::string kind;  // "S3" or "S4"
  std::wstring name;
  ClockTime named;  // from the file name
  ClockTime clicked_after;
};

std::optional<SleepLog> wait_for_log(CheckLog& log, const LogDirectory& directory, const std::string& kind,
                                     const ClockTime& before) {
  const std::wstring wide_kind(kind.begin(), kind.end());
  std::optional<std::wstring> name;
  wait_until(kLogTimeoutMs, [&] {
    name = find_log(directory, wide_kind);
    return name && directory.complete_lines(*name) >= 2;
  });
  const ClockTime after = local_clock();
  if (!log.expect(name.has_value(), std::string(kWho) + ": clicking " + kind + " creates one " + kind +
                                        " log in the current directory")) {
    return std::nullopt;
  }
  const std::optional<TestLogName> parsed = parse_test_log_name(to_utf8(*name), kind);
  log.expect(parsed.has_value(), kind + " log is named " + kind + "-HHhMMmSSs-YYYYyMMmDDd.txt",
             quoted(to_utf8(*name)));
  log.expect(parsed && clock_within(parsed->time, before, after),
             kind + " log name carries the time of the click", quoted(to_utf8(*name)));
  return SleepLog{kind, *name, parsed ? parsed->time : ClockTime{}, after};
}

// The header, then `row_count` rows without a battery (" N/A%", all numbers 0), the first written
// just after the file was named, the last no later than `last_by`.
void check_log_text(CheckLog& log, const SleepLog& sleep_log, const std::string& text, size_t row_count,
                    const ClockTime& last_by) {
  const std::string& kind = sleep_log.kind;
  log.expect(text.rfind("\xEF\xBB\xBF", 0) != 0, kind + " log has no byte-order mark");
  const LogLines split = split_crlf_lines(text);
  log.expect(split.fault.empty(), kind + " log lines all end with CR LF", split.fault);
  log.expect(split.lines.size() == row_count + 1,
             kind + " log holds the header and " + std::to_string(row_count) + " row(s)",
             std::to_string(split.lines.size()) + " lines");
  log.expect(!split.lines.empty() && split.lines[0] == kSleepHeader, kind + " log starts with the header",
             split.lines.empty() ? "empty" : quoted(split.lines[0]));
  std::vector<SleepRow> rows;
  std::string fault;
  for (size_t i = 1; i < split.lines.size(); ++i) {
    const std::optional<SleepRow> row = parse_sleep_row(split.lines[i]);
    if (!row) {
      fault = fault.empty() ? "line " + std::to_string(i + 1) + " " + quoted(split.lines[i]) : fault;
      continue;
    }
    if (row->life_percent != " N/A" || row->full_charged != 0 || row->remaining != 0 || row->rate != 0 ||
        row->diff != 0) {
      fault = fault.empty() ? "without a battery: " + quoted(split.lines[i]) : fault;
    }
    rows.push_back(*row);
  }
  log.expect(fault.empty() && !rows.empty(),
             kind + " rows read HH:MM:SS, \" N/A%\" and four %8i zeros (no battery, Diff 0)", fault);
  if (rows.empty()) {
    return;
  }
  // The first row's clock is read after the file is created, so it may be a second on.
  log.expect(clock_within(rows.front().time, sleep_log.named, sleep_log.clicked_after),
             kind + " first row carries the time of the start", quoted(split.lines[1]));
  log.expect(clock_within(rows.back().time, sleep_log.named, last_by),
             kind + " last row's time lies between the start and the broadcast", quoted(split.lines.back()));
}

// Reads the log now and checks it; prints a finished log for the run's record.
void check_log_now(CheckLog& log, const LogDirectory& directory, const SleepLog& sleep_log, size_t row_count,
                   const ClockTime& last_by) {
  const std::optional<std::string> text = directory.read_file(sleep_log.name);
  if (!log.expect(text.has_value(), sleep_log.kind + " log can be read")) {
    return;
  }
  if (row_count == 2) {
    std::printf("     %s:\n", to_utf8(sleep_log.name).c_str());
    for (const std::string& line : split_crlf_lines(*text).lines) {
      std::printf("     | %s\n", quoted(line).c_str());
    }
    std::fflush(stdout);
  }
  check_log_text(log, sleep_log, *text, row_count, last_by);
}

bool broadcast_resume(const PanelRun& run) {
  LRESULT answer = 0;
  return send_message(run.host(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, &answer) && answer == TRUE;
}

// The texts of the message boxes the program shows now, each closed after reading.
std::vector<std::string> close_message_boxes(const PanelRun& run) {
  std::vector<std::string> texts;
  for (HWND box : top_level_windows(L"#32770", L"", run.program().process_id())) {
    std::string text;
    for (HWND child : child_windows(box)) {
      if (lstrcmpiA(window_class(child).c_str(), "Static") == 0) {
        text += window_text(child);
      }
    }
    texts.push_back(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PostMessageW(box, WM_CLOSE, 0, 0);
  }
  return texts;
}

void check_sleep_without_timer(CheckLog& log, PanelRun& run, const LogDirectory& directory) {
  const std::string who = std::string(kWho) + ": ";
  log.expect(IsDlgButtonChecked(run.panel(), IDC_WAKE_UP_AFTER) == BST_UNCHECKED,
             who + "\"Wake up after\" starts unchecked");
  // Typed delays, for the broadcast to reset; unchecked, they must not arm a timer.
  for (int id : kDelayFields) {
    send_message(run.control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"5"));
  }
  const ClockTime before = local_clock();
  log.expect(send_message(run.control(IDC_S3), BM_CLICK, 0, 0),
             who + "clicking S3 returns: the suspend request comes back at once");
  log.expect(close_message_boxes(run).empty(), who + "S3 without a delay shows no message box");
  const std::optional<SleepLog> s3 = wait_for_log(log, directory, "S3", before);
  if (!s3) {
    return;
  }
  check_log_now(log, directory, *s3, 1, local_clock());

  log.expect(broadcast_resume(run), who + "host answers PBT_APMRESUMEAUTOMATIC with TRUE");
  const ClockTime broadcast = local_clock();
  log.expect(wait_until(kLogTimeoutMs, [&] { return directory.complete_lines(s3->name) >= 3; }),
             who + "the broadcast appends the after-resume row to the S3 log");
  check_log_now(log, directory, *s3, 2, broadcast);
  check_notepad_shows(log, std::string(kWho) + " S3", s3->name);
  log.expect(delay_fields_text(run) == "0,0,3,0", who + "after the broadcast the delay fields read 0,0,3,0",
             delay_fields_text(run));
  broadcast_resume(run);
  log.expect(directory.complete_lines(s3->name) == 3,
             who + "a later broadcast adds nothing to a finished log",
             std::to_string(directory.complete_lines(s3->name)) + " lines");
}

void check_hibernate_with_timer(CheckLog& log, PanelRun& run, const LogDirectory& directory) {
  const std::string who = std::string(kWho) + ": ";
  send_message(run.control(IDC_WAKE_UP_AFTER), BM_CLICK, 0, 0);
  log.expect(IsDlgButtonChecked(run.panel(), IDC_WAKE_UP_AFTER) == BST_CHECKED &&
                 delay_fields_text(run) == "0,0,3,0",
             who + "\"Wake up after\" checked with the default delay of three minutes",
             delay_fields_text(run));

  // A message box would hold the click inside the program; the send then times out.
  const ClockTime before = local_clock();
  const bool returned = send_message(run.control(IDC_S4), BM_CLICK, 0, 0);
  std::vector<std::string> boxes;
  if (!returned) {
    wait_until(kMessageBoxTimeoutMs, [&] {
      const std::vector<std::string> closed = close_message_boxes(run);
      boxes.insert(boxes.end(), closed.begin(), closed.end());
      return closed.empty() && !boxes.empty();
    });
  }
  std::string shown;
  for (const std::string& text : boxes) {
    shown += (shown.empty() ? "" : ", ") + quoted(text);
  }
  log.expect(returned && boxes.empty(), who + "S4 with a resume timer returns without a message box",
             boxes.empty() ? "the click did not return" : "message box(es) " + shown + " closed");
  const std::optional<SleepLog> s4 = wait_for_log(log, directory, "S4", before);
  if (!s4) {
    return;
  }
  check_log_now(log, directory, *s4, 1, local_clock());

  int answered = 0;
  for (int i = 0; i < kBroadcastBurst; ++i) {
    answered += broadcast_resume(run) ? 1 : 0;
  }
  const ClockTime broadcast = local_clock();
  log.expect(answered == kBroadcastBurst,
             who + std::to_string(kBroadcastBurst) + " broadcasts in a row are each answered with TRUE",
             std::to_string(answered) + " answered");
  wait_until(kLogTimeoutMs, [&] { return directory.complete_lines(s4->name) >= 3; });
  check_log_now(log, directory, *s4, 2, broadcast);
  check_notepad_shows(log, std::string(kWho) + " S4", s4->name);
  log.expect(IsDlgButtonChecked(run.panel(), IDC_WAKE_UP_AFTER) == BST_CHECKED &&
                 delay_fields_text(run) == "0,0,3,0",
             who + "after the broadcasts the box stays checked and the delay reads 0,0,3,0",
             delay_fields_text(run));
}

}  // namespace

void check_sleep_tests(CheckLog& log, const std::wstring& exe) {
  LogDirectory directory;
  if (!log.expect(directory.created(), std::string(kWho) + ": a fresh temporary directory for the logs")) {
    return;
  }
  {
    PanelRun run(log, exe, kWho, directory.path());
    if (run.ready()) {
      check_sleep_without_timer(log, run, directory);
      check_hibernate_with_timer(log, run, directory);
      run.expect_responsive("the sleep tests");
      send_message(run.control(IDC_EXIT), BM_CLICK, 0, 0);
      run.expect_exit_code_zero("clicking Exit after the sleep tests");
      log.expect(directory.file_names().size() == 2,
                 std::string(kWho) + ": the S3 and S4 logs are the only files",
                 std::to_string(directory.file_names().size()) + " files");
    }
  }  // a launch whose checks failed is ended here, before its directory goes
  const std::wstring path = directory.path();
  log.expect(directory.remove() && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES,
             std::string(kWho) + ": the temporary log directory is removed");
}
