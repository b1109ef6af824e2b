#include "lab/sleep_command.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "../../res/control_ids.h"
#include "lab/cycle_record.h"
#include "lab/cycle_summary_file.h"
#include "lab/text_of.h"

namespace {

// The resume's broadcast normally follows at once; a laptop that sends none gets one from here.
constexpr uint64_t kResumeBroadcastWaitMs = 10'000;

std::string read_file(const std::string& name) {
  std::ifstream file(name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The wake delay fields of the panel, as a tester would fill them in.
void set_wake_delay(LabHost& host, uint64_t seconds) {
  LabDialog& dialog = host.dialog();
  const HWND panel = host.state().panel;
  dialog.set_checked(IDC_WAKE_UP_AFTER, true);
  dialog.SetDlgItemInt(panel, IDC_WAKE_DAYS, static_cast<UINT>(seconds / 86400), FALSE);
  dialog.SetDlgItemInt(panel, IDC_WAKE_HOURS, static_cast<UINT>(seconds / 3600 % 24), FALSE);
  dialog.SetDlgItemInt(panel, IDC_WAKE_MINUTES, static_cast<UINT>(seconds / 60 % 60), FALSE);
  dialog.SetDlgItemInt(panel, IDC_WAKE_SECONDS, static_cast<UINT>(seconds % 60), FALSE);
}

std::string cycle_line(const CycleRecord& record, int cycles) {
  std::string line = "cycle " + std::to_string(record.number) + " of " + std::to_string(cycles) + ", " +
                     record.log_name + ": " + sleep_verdict(record.kernel);
  if (const std::optional<int64_t> lost = energy_lost_mwh(record)) {
    line += ", lost " + std::to_string(*lost) + " mWh";
    if (const std::optional<int64_t> drain = drain_mw(record)) {
      line += " (" + std::to_string(*drain) + " mW)";
    }
  } else {
    line += ", battery loss unknown";
  }
  return line + "\n";
}

// One press of S3 or S4; nothing when the sleep did not happen.
std::optional<CycleRecord> run_cycle(LabHost& host, const LabCommand& command, int number,
                                     std::string& problem) {
  Laptop& laptop = host.laptop();
  set_wake_delay(host, command.sleep_s);
  const BeforeSleep before = read_before_sleep(laptop.sleep_facts(), command.hibernate);
  host.press(command.hibernate ? IDC_S4 : IDC_S3);
  problem = laptop.sleep_problem();
  if (!problem.empty()) {
    return std::nullopt;
  }
  CycleRecord record;
  record.number = number;
  record.kernel = read_after_resume(laptop.sleep_facts(), before, true);
  PanelState& state = host.state();
  host.run(host.now_ms() + kResumeBroadcastWaitMs, [&] { return state.sleep_test_mode == 0; });
  if (state.sleep_test_mode != 0) {
    host.broadcast();
  }
  record.log_name = ascii_of(state.log_file_path);
  record.resume_row = resume_row_of(read_file(record.log_name));
  return record;
}

}  // namespace

int run_sleep_command(LabHost& host, const LabCommand& command, ClockPort& local_clock, std::FILE* out,
                      std::FILE* notices) {
  Laptop& laptop = host.laptop();
  if (const std::string refusal = laptop.unattended_sleep_refusal(command.hibernate); !refusal.empty()) {
    std::fprintf(notices, "chargewright: no unattended %s here: %s\n",
                 command.hibernate ? "hibernate" : "sleep", refusal.c_str());
    return 1;
  }
  SYSTEMTIME started{};
  local_clock.GetLocalTime(&started);
  CycleSummaryFile summary;
  if (!summary.create(CycleSummaryFile::name_for(command.hibernate, started), summary_header())) {
    std::fprintf(notices, "chargewright: the cycle summary cannot be written: %s\n",
                 summary.problem().c_str());
    return 1;
  }
  host.start();
  std::fprintf(out, "%d %s cycles of %s s on %s, %s s awake between; summary: %s\n", command.cycles,
               command.hibernate ? "hibernate" : "sleep", std::to_string(command.sleep_s).c_str(),
               ascii_of(laptop.status().name).c_str(), std::to_string(command.wait_s).c_str(),
               summary.name().c_str());
  std::fflush(out);

  std::vector<CycleRecord> records;
  int status = 0;
  for (int number = 1; number <= command.cycles && status == 0; ++number) {
    if (number > 1 && host.run(host.now_ms() + command.wait_s * 1000, {}) == LabHost::Ended::stopped) {
      break;
    }
    if (host.waiter().stop_requested()) {
      break;
    }
    std::string problem;
    const std::optional<CycleRecord> record = run_cycle(host, command, number, problem);
    if (!record && host.waiter().stop_requested()) {
      // Ctrl+C while logind held the request: the user's stop, not a failed suspend.
      std::fprintf(notices, "chargewright: cycle %d given up: %s\n", number, problem.c_str());
      break;
    }
    if (!record) {
      std::fprintf(notices, "chargewright: cycle %d: the %s did not happen: %s\n", number,
                   command.hibernate ? "hibernate" : "sleep", problem.c_str());
      status = 1;
      break;
    }
    records.push_back(*record);
    if (!summary.append(summary_row(*record))) {
      std::fprintf(notices, "chargewright: %s\n", summary.problem().c_str());
      status = 1;
    }
    std::fputs(cycle_line(*record, command.cycles).c_str(), out);
    std::fflush(out);
    if (record->kernel.suspend == SleepReading::Suspend::failed) {
      std::fprintf(notices, "chargewright: cycle %d: %s\n", number, sleep_verdict(record->kernel).c_str());
      status = 1;
    }
  }
  if (static_cast<int>(records.size()) < command.cycles && status == 0) {
    std::fprintf(out, "stopped after %zu of %d cycles\n", records.size(), command.cycles);
  }
  std::fputs(summary_table(records).c_str(), out);
  std::fprintf(out, "summary: %s\n", summary.name().c_str());
  std::fflush(out);
  return status;
}
