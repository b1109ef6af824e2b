// `chargewright sleep` on the real laptop's code with the boot clock of a test bed: the bed's mock
// logind writes how long each "sleep" lasted into a file, and the clocks read here add it to the
// machine's boot clock, as a real sleep moves the boot clock ahead of the monotonic one.
// Usage: chargewright_lab_bed BOOT_CLOCK_AHEAD_FILE sleep|log OPTION...
#include <cstdio>
#include <fstream>

#include "lab/lab_entry.h"
#include "linux/power_clocks.h"

namespace {

class TestBedClocks final : public PowerClocks {
 public:
  explicit TestBedClocks(const char* ahead_file) : ahead_file_(ahead_file) {}
  ClockReading read() override {
    ClockReading now = system_.read();
    std::ifstream file(ahead_file_);
    uint64_t ahead_ms = 0;
    file >> ahead_ms;
    now.boottime_ms += ahead_ms;
    return now;
  }

 private:
  const char* ahead_file_;
  SystemPowerClocks system_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: chargewright_lab_bed BOOT_CLOCK_AHEAD_FILE sleep|log OPTION...\n", stderr);
    return 2;
  }
  TestBedClocks clocks(argv[1]);
  const LabCommand command = parse_lab_command(argc - 1, argv + 1);
  if (!command.error.empty() || command.simulate) {
    std::fprintf(stderr, "chargewright_lab_bed: %s\n",
                 command.error.empty() ? "the test bed is real" : command.error.c_str());
    return 2;
  }
  SteadyClock steady_clock;
  const std::unique_ptr<Laptop> laptop = real_laptop(clocks);
  return run_lab_command(command, *laptop, steady_clock);
}
