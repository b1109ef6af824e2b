#include "lab/log_command.h"

#include "../../res/control_ids.h"
#include "lab/text_of.h"

int run_log_command(LabHost& host, std::optional<uint64_t> duration_s, std::FILE* notices) {
  host.start();
  host.press(IDC_S1_SAVE);
  const PanelState& state = host.state();
  if (state.s1_log == INVALID_HANDLE_VALUE) {
    return 1;  // the reason is on the notices already
  }
  std::fprintf(notices, "chargewright: logging %s to %s\n", ascii_of(host.laptop().status().name).c_str(),
               ascii_of(state.log_file_path).c_str());
  std::fflush(notices);
  std::optional<uint64_t> deadline;
  if (duration_s) {
    deadline = host.now_ms() + *duration_s * 1000;
  }
  const LabHost::Ended ended = host.run(deadline, [&] { return !host.laptop().has_battery(); });
  if (ended == LabHost::Ended::done) {
    std::fputs("chargewright: the battery is gone; the log ends here\n", notices);
  }
  host.press(IDC_S1_SAVE);
  return state.s1_log_failure_reported ? 1 : 0;
}
