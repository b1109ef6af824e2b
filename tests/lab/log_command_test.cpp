// `chargewright log` on the simulated laptop against the panel's own S1 session on an identical
// laptop: the same ticks must give the same bytes.
#include "lab/log_command.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "../../res/control_ids.h"
#include "../shared/fake_clock.h"
#include "fakes/fake_dialog_port.h"
#include "fakes/fake_log_file_port.h"
#include "lab/echoing_log_file_port.h"
#include "panel/panel.h"

namespace {

// The local time follows the test's monotonic clock from 2026-12-07 10:00:00.
class FollowingLocalClock final : public ClockPort {
 public:
  explicit FollowingLocalClock(FakeClock& clock) : clock_(clock), start_ms_(clock.now_ms) {}
  void GetLocalTime(SYSTEMTIME* time) override {
    const uint64_t seconds = (clock_.now_ms - start_ms_) / 1000 + 10 * 3600;
    *time = {2026,
             12,
             1,
             7,
             static_cast<WORD>(seconds / 3600 % 24),
             static_cast<WORD>(seconds / 60 % 60),
             static_cast<WORD>(seconds % 60),
             0};
  }

 private:
  FakeClock& clock_;
  uint64_t start_ms_;
};

// Waiting lets the test's clock run for as long as the loop asked.
class ClockWaiter final : public LabWaiter {
 public:
  explicit ClockWaiter(FakeClock& clock) : clock_(clock) {}
  void wait(int, int timeout_ms) override { clock_.now_ms += static_cast<uint64_t>(timeout_ms); }
  bool stop_requested() override { return false; }

 private:
  FakeClock& clock_;
};

constexpr uint64_t kRunSeconds = 150;  // the start row, two minute rows and the stop row
const std::u16string kLogName = u"S1-10h00m00s-2026y12m07d.txt";

std::string panel_session_bytes() {
  FakeClock clock;
  FollowingLocalClock local_time(clock);
  const std::unique_ptr<Laptop> laptop = simulated_laptop(clock, 0.8);
  FakeDialogPort dialog;
  FakeLogFilePort files;
  const PanelPorts ports = laptop->ports(dialog, local_time, files);
  auto state = std::make_unique<PanelState>();
  panel_dialog_message(*state, ports, WM_INITDIALOG, 0, 0);
  panel_dialog_message(*state, ports, WM_COMMAND, IDC_S1_SAVE, 0);
  for (uint64_t tick = 0; tick < kRunSeconds; ++tick) {
    clock.now_ms += 1000;
    panel_dialog_message(*state, ports, WM_TIMER, kPanelTimerId, 0);
  }
  panel_dialog_message(*state, ports, WM_COMMAND, IDC_S1_SAVE, 0);
  return files.files[kLogName];
}

TEST(LogCommand, WritesWhatThePanelsSessionWritesForTheSameTicksAndEchoesIt) {
  FakeClock clock;
  FollowingLocalClock local_time(clock);
  const std::unique_ptr<Laptop> laptop = simulated_laptop(clock, 0.8);
  FakeLogFilePort files;
  std::FILE* echo = std::tmpfile();
  std::FILE* notices = std::tmpfile();
  ASSERT_NE(echo, nullptr);
  EchoingLogFilePort echoed(files, echo);
  ClockWaiter waiter(clock);
  LabHost host(*laptop, clock, local_time, echoed, waiter, notices);

  EXPECT_EQ(run_log_command(host, kRunSeconds, notices), 0);

  const std::string expected = panel_session_bytes();
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 5) << expected;
  EXPECT_EQ(files.files[kLogName], expected);
  EXPECT_TRUE(files.shell_calls.size() == 1 && files.shell_calls[0].parameters == kLogName)
      << "the finished log goes to the document window, as the panel's does";

  std::string shown(expected.size(), '\0');
  std::rewind(echo);
  shown.resize(std::fread(shown.data(), 1, shown.size(), echo));
  std::string without_cr = expected;
  std::erase(without_cr, '\r');
  EXPECT_EQ(shown, without_cr);
  std::fclose(echo);
  std::fclose(notices);
}

TEST(LogCommand, ALogThatCannotBeCreatedEndsTheRunWithOne) {
  FakeClock clock;
  FollowingLocalClock local_time(clock);
  const std::unique_ptr<Laptop> laptop = simulated_laptop(clock, 0.8);
  FakeLogFilePort files;
  files.create_error = 5;  // ERROR_ACCESS_DENIED
  std::FILE* notices = std::tmpfile();
  ClockWaiter waiter(clock);
  LabHost host(*laptop, clock, local_time, files, waiter, notices);

  EXPECT_EQ(run_log_command(host, kRunSeconds, notices), 1);
  ASSERT_EQ(host.dialog().messages().size(), 1u);
  EXPECT_NE(host.dialog().messages()[0].find("could not be created"), std::string::npos);
  std::fclose(notices);
}

}  // namespace
