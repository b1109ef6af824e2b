#include "logs/log_file.h"

#include "battery/life_percent.h"
#include "common/deferred_reports.h"
#include "ports/log_file_port.h"
#include "text/wide_text.h"

namespace {

constexpr char16_t kCaption[] = u"Chargewright";

const char16_t* kind_text(LogKind kind) {
  switch (kind) {
    case LogKind::s1:
      return u"S1";
    case LogKind::s3:
      return u"S3";
    case LogKind::s4:
      return u"S4";
  }
  return u"S1";
}

// The system's reason for `error`, without the line break Windows ends it with.
void error_text(const PanelPorts& ports, DWORD error, char16_t (&reason)[kWideTextSize]) {
  reason[0] = 0;
  DWORD length = ports.files.FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, error,
                                            reason, kWideTextSize);
  if (length >= kWideTextSize) {
    length = kWideTextSize - 1;
  }
  reason[length] = 0;
  while (length > 0 &&
         (reason[length - 1] == u'\r' || reason[length - 1] == u'\n' || reason[length - 1] == u' ')) {
    reason[--length] = 0;
  }
  if (length == 0) {
    format_wide(reason, u"error %i", as_i32(error));
  }
}

void report_warning(LogState& state, const char16_t* message) {
  defer_report(state, message, kCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

void test_log_name(LogState& state, LogKind kind, const SYSTEMTIME& time) {
  const int32_t hour = time.wHour, minute = time.wMinute, second = time.wSecond;
  const int32_t year = time.wYear, month = time.wMonth, day = time.wDay;
  switch (kind) {
    case LogKind::s1:
      format_path(state.log_file_path, u"S1-%02ih%02im%02is-%iy%02im%02id.txt", hour, minute, second, year,
                  month, day);
      break;
    case LogKind::s3:
      format_path(state.log_file_path, u"S3-%02ih%02im%02is-%iy%02im%02id.txt", hour, minute, second, year,
                  month, day);
      break;
    case LogKind::s4:
      format_path(state.log_file_path, u"S4-%02ih%02im%02is-%iy%02im%02id.txt", hour, minute, second, year,
                  month, day);
      break;
  }
}

HANDLE open_test_log(LogState& state, const PanelPorts& ports) {
  const HANDLE log = ports.files.CreateFileW(state.log_file_path, GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ, CREATE_ALWAYS, 0);
  if (log == INVALID_HANDLE_VALUE) {
    // A session that loses every row must not look like one that worked.
    char16_t reason[kWideTextSize];
    error_text(ports, ports.files.GetLastError(), reason);
    char16_t message[kWideTextSize];
    format_wide(message, u"The test log %s could not be created.\r\n%s", state.log_file_path, reason);
    report_warning(state, message);
  }
  return log;
}

void format_log_header(LogState& state, LogKind kind) {
  if (kind == LogKind::s1) {
    format_wide(state.log_line,
                u"Item\tTime\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n");
  } else {
    format_wide(state.log_line, u"Time\tLife%%\tFullCharged(mw)\tRemains(mw)\tRate(mw/hr)\tDiff(mw)\r\n");
  }
}

void format_log_row(LogKind kind, int32_t item, const SYSTEMTIME& time, const BatterySnapshot& snapshot,
                    int32_t diff, char16_t (&line)[kWideTextSize]) {
  const int32_t hour = time.wHour, minute = time.wMinute, second = time.wSecond;
  const int32_t full = as_i32(snapshot.full_charged_capacity);
  const int32_t remaining = as_i32(snapshot.remaining_capacity);
  const int32_t rate = snapshot.rate;
  const bool known = life_percent_known(snapshot);
  if (kind == LogKind::s1 && known) {
    format_wide(line, u"%i\t%02i:%02i:%02i %4.02f%%\t%8i\t%8i\t%8i\t%8i\r\n", item, hour, minute, second,
                life_percent(snapshot), full, remaining, rate, diff);
  } else if (kind == LogKind::s1) {
    format_wide(line, u"%i\t%02i:%02i:%02i %4s%%\t%8i\t%8i\t%8i\t%8i\r\n", item, hour, minute, second,
                kUnknownLifePercent, full, remaining, rate, diff);
  } else if (known) {
    format_wide(line, u"%02i:%02i:%02i %4.02f%%\t%8i\t%8i\t%8i\t%8i\r\n", hour, minute, second,
                life_percent(snapshot), full, remaining, rate, diff);
  } else {
    format_wide(line, u"%02i:%02i:%02i %4s%%\t%8i\t%8i\t%8i\t%8i\r\n", hour, minute, second,
                kUnknownLifePercent, full, remaining, rate, diff);
  }
}

bool write_log_line(const PanelPorts& ports, HANDLE log, const char16_t (&line)[kWideTextSize]) {
  char bytes[kConversionBufferSize] = {};
  const size_t length = wide_length(line, kWideTextSize);
  const int converted = ports.files.WideCharToMultiByte(CP_ACP, 0, line, static_cast<int>(length), bytes,
                                                        static_cast<int>(kConversionBufferSize));
  // The converted bytes, up to the first zero byte, never past the buffer even when it is full.
  size_t count = 0;
  const size_t limit = converted > 0 ? static_cast<size_t>(converted) : 0;
  while (count < limit && count < kConversionBufferSize && bytes[count] != 0) {
    ++count;
  }
  if (length > 0 && count == 0) {
    return false;  // nothing converted
  }
  DWORD written = 0;
  const BOOL ok = ports.files.WriteFile(log, bytes, static_cast<DWORD>(count), &written);
  return ok != FALSE && written == count;
}

void close_test_log(const PanelPorts& ports, HANDLE log) {
  if (log != INVALID_HANDLE_VALUE) {
    ports.files.CloseHandle(log);
  }
}

void show_test_log(const LogState& state, const PanelPorts& ports) {
  // By its full path: the program runs with the user's highest rights, and a notepad.exe planted in
  // the log directory must never be the one that starts.
  char16_t system_directory[kPathTextSize];
  const UINT length = ports.files.GetSystemDirectoryW(system_directory, kPathTextSize);
  if (length == 0 || length >= kPathTextSize) {
    return;
  }
  char16_t notepad[kPathTextSize];
  if (format_path(notepad, u"%s\\notepad.exe", system_directory) != length + 12) {
    return;  // cut: not a path to start anything from
  }
  ports.files.ShellExecuteW(nullptr, u"open", notepad, state.log_file_path, nullptr, SW_SHOWNORMAL);
}

void report_log_write_failure(LogState& state, const PanelPorts& ports, LogKind kind, bool& reported) {
  if (reported) {
    return;
  }
  reported = true;
  char16_t reason[kWideTextSize];
  error_text(ports, ports.files.GetLastError(), reason);
  char16_t message[kWideTextSize];
  format_wide(message, u"Writing to the %s test log failed; rows may be missing.\r\n%s", kind_text(kind),
              reason);
  report_warning(state, message);
}
