// chargewright-report.exe: wide arguments, so that file names in any language reach the files; the
// summary goes to a console as UTF-16 and to a pipe or file as UTF-8. The machine's battery is read
// through the battery class driver, as the panel reads it.
#include <windows.h>

#include <cstdio>

#include "report/cli/win32_report_files.h"
#include "report/cli/win32_text.h"
#include "report/report_run.h"
#include "win32/setupapi_battery_port.h"

namespace {

void write_text(DWORD which, const std::string& text) {
  if (text.empty()) {
    return;
  }
  const HANDLE stream = GetStdHandle(which);
  DWORD mode = 0;
  if (GetConsoleMode(stream, &mode)) {
    const std::wstring wide = wide_of_utf8(text);
    DWORD written = 0;
    WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  FILE* file = which == STD_ERROR_HANDLE ? stderr : stdout;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(utf8_of_wide(argv[i]));
  }
  Win32ReportFiles files;
  SetupApiBatteryPort battery;
  std::string out, err;
  const int code = run_report(arguments, files, battery, out, err);
  write_text(STD_ERROR_HANDLE, err);
  write_text(STD_OUTPUT_HANDLE, out);
  return code;
}
