#include "report/report_run.h"

#include <algorithm>

#include "report/calendar.h"
#include "report/cycle_runs_page.h"
#include "report/cycle_summary_reading.h"
#include "report/log_summary.h"
#include "report/machine_battery.h"
#include "report/report_page.h"
#include "report/summary_table.h"
#include "report/text_encoding.h"

namespace {

constexpr const char* kUsage =
    "Usage: chargewright-report [--output FILE] LOG-OR-FOLDER...\n"
    "\n"
    "Reads S1, S3 and S4 test logs (files, or folders holding S1-*.txt, S3-*.txt and S4-*.txt) and\n"
    "the cycle summaries of unattended sleep runs (S3-*-cycles.tsv, S4-*-cycles.tsv), and writes one\n"
    "self-contained HTML page with summary tables and charts; prints the summary here.\n"
    "The battery of the machine it runs on, where it can read one, is shown beside the logs' capacities.\n"
    "\n"
    "  -o, --output FILE  the page to write (default: chargewright-report.html); never one of the logs\n"
    "  -h, --help         this text\n"
    "\n"
    "Exit codes: 0 the page was written, 1 no log could be read (or the page not written), 2 usage.\n";

struct Options {
  std::string output = kDefaultOutput;
  std::vector<std::string> inputs;
  bool help = false;
};

// false with the reason in `error` on a usage error.
bool parse_options(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  bool options_end = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_end || argument.empty() || argument[0] != '-' || argument == "-") {
      options.inputs.push_back(argument);
    } else if (argument == "--") {
      options_end = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
    } else if (argument == "-o" || argument == "--output") {
      if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
        error = argument + " needs a file name";
        return false;
      }
      options.output = arguments[++i];
    } else if (argument.rfind("--output=", 0) == 0 && argument.size() > 9) {
      options.output = argument.substr(9);
    } else {
      error = "unknown option " + shown_text(argument);
      return false;
    }
  }
  if (!options.help && options.inputs.empty()) {
    error = "name at least one log or folder";
    return false;
  }
  return true;
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The panels' log names: S1-, S3- or S4-, ending in .txt, in any case.
bool looks_like_log_name(const std::string& name) {
  if (name.size() < 7 || upper(name[0]) != 'S' || name[2] != '-' ||
      (name[1] != '1' && name[1] != '3' && name[1] != '4')) {
    return false;
  }
  std::string suffix = name.substr(name.size() - 4);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(), upper);
  return suffix == ".TXT";
}

// The files to read, with a message for each input that yields none.
std::vector<std::string> gather_files(const std::vector<std::string>& inputs, ReportFiles& files,
                                      std::vector<std::string>& messages) {
  std::vector<std::string> paths;
  for (const std::string& input : inputs) {
    const std::string shown = shown_text(input);
    switch (files.kind_of(input)) {
      case ReportFiles::Kind::file:
        paths.push_back(input);
        break;
      case ReportFiles::Kind::folder: {
        std::vector<std::string> names;
        std::string error;
        if (!files.list_folder(input, names, error)) {
          messages.push_back(shown + ": the folder cannot be read: " + error);
          break;
        }
        std::sort(names.begin(), names.end());
        const size_t before = paths.size();
        const bool ends_with_separator = input.back() == '/' || input.back() == files.separator();
        const std::string folder = ends_with_separator ? input : input + files.separator();
        for (const std::string& name : names) {
          if ((looks_like_log_name(name) || looks_like_cycle_summary_name(name)) &&
              files.kind_of(folder + name) == ReportFiles::Kind::file) {
            paths.push_back(folder + name);
          }
        }
        if (paths.size() == before) {
          messages.push_back(
              shown +
              ": the folder holds no test logs (S1-*.txt, S3-*.txt, S4-*.txt) and no cycle summaries");
        }
        break;
      }
      case ReportFiles::Kind::missing:
        messages.push_back(shown + ": no such file or folder");
        break;
      case ReportFiles::Kind::other:
        messages.push_back(shown + ": not a file or a folder");
        break;
    }
  }
  return paths;
}

// Oldest run first; runs of unknown date after the dated ones, by name.
bool earlier(const LogReport& a, const LogReport& b) {
  const bool a_dated = a.log.start_date.known() && !a.log.rows.empty();
  const bool b_dated = b.log.start_date.known() && !b.log.rows.empty();
  if (a_dated != b_dated) {
    return a_dated;
  }
  if (a_dated) {
    const int64_t at = wall_clock_seconds(a.log, 0), bt = wall_clock_seconds(b.log, 0);
    if (at != bt) {
      return at < bt;
    }
  }
  return a.log.name < b.log.name;
}

}  // namespace

int run_report(const std::vector<std::string>& arguments, ReportFiles& files, BatteryPort& battery,
               std::string& out, std::string& err) {
  Options options;
  std::string usage_error;
  if (!parse_options(arguments, options, usage_error)) {
    err += "chargewright-report: " + usage_error + "\n\n" + kUsage;
    return kExitUsage;
  }
  if (options.help) {
    out += kUsage;
    return kExitWritten;
  }

  std::vector<std::string> messages;
  const std::vector<std::string> paths = gather_files(options.inputs, files, messages);
  // Checked before anything is read or written: the page must never replace a tester's log.
  for (const std::string& path : paths) {
    if (files.same_file(options.output, path)) {
      err += "chargewright-report: the page " + shown_text(options.output) + " would overwrite " +
             shown_text(path) + ", one of the files to read; name another --output\n";
      return kExitUsage;
    }
  }
  std::vector<LogReport> reports;
  std::vector<CycleRun> runs;
  for (const std::string& path : paths) {
    std::string bytes, error;
    const std::string shown = shown_text(path);
    if (!files.read_file(path, kLargestLog, bytes, error)) {
      messages.push_back(shown + ": " + error);
      continue;
    }
    if (looks_like_cycle_summary_name(base_name(path))) {
      CycleRun run = read_cycle_summary(path, bytes);
      for (const LogProblem& problem : run.problems) {
        messages.push_back(shown + (problem.line > 0 ? ": line " + std::to_string(problem.line) : "") + ": " +
                           problem.text);
      }
      if (run.is_summary) {
        runs.push_back(std::move(run));
      }
      continue;
    }
    ReadLog log = read_log(path, bytes);
    for (const LogProblem& problem : log.problems) {
      messages.push_back(shown + (problem.line > 0 ? ": line " + std::to_string(problem.line) : "") + ": " +
                         problem.text);
    }
    if (log.is_log) {
      reports.push_back(summarise(std::move(log)));
    }
  }
  std::stable_sort(reports.begin(), reports.end(), earlier);
  for (const std::string& message : messages) {
    err += message + "\n";
  }
  if (reports.empty() && runs.empty()) {
    err += "chargewright-report: no test log could be read; no page written\n";
    return kExitNothingRead;
  }
  const MachineBattery machine = read_machine_battery(battery);
  out += text_summary(reports) + cycle_runs_text(runs) + machine_battery_text(machine);
  std::string error;
  if (!files.write_file(options.output, report_page(reports, runs, messages, machine), error)) {
    err += "chargewright-report: " + shown_text(options.output) + ": the page cannot be written: " + error +
           "\n";
    return kExitNothingRead;
  }
  out += "Report written to " + shown_text(options.output) + "\n";
  return kExitWritten;
}
