// Writes test logs into a folder as the Linux panel would, from simulated runs:
//   report_log_maker FOLDER          two S1 sessions (one left without Stop), an S3 and an S4 test
//   report_log_maker FOLDER --week   one S1 session of a week (about 10,000 rows)
#include <unistd.h>

#include <cstdio>
#include <string>

#include "posix/posix_log_file_port.h"
#include "simulated_logs.h"

namespace {

// Nothing is shown: the logs are what this tool makes.
class NoDocumentWindow final : public DocumentWindow {
 public:
  void show(const std::u16string&, const std::string&, bool) override {}
  void show_missing(const std::u16string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || chdir(argv[1]) != 0) {
    std::fprintf(stderr, "usage: report_log_maker FOLDER [--week]\n");
    return 2;
  }
  NoDocumentWindow viewer;
  PosixLogFilePort files(viewer);
  if (argc > 2 && std::string(argv[2]) == "--week") {
    // A pack that never empties in a week: the physics would stop at zero.
    run_simulated_s1_session(files, {{2026, 11, 0, 23, 8, 0, 0, 0}, 1.0}, 7 * 24 * 60, true);
    return 0;
  }
  // Overnight: across midnight, stopped in the morning.
  run_simulated_s1_session(files, {{2026, 12, 2, 1, 22, 30, 0, 0}, 0.97}, 4 * 60 + 17, true);
  // A second notebook's run, closed during the session.
  run_simulated_s1_session(files, {{2026, 12, 3, 2, 9, 15, 0, 0}, 0.90}, 3 * 60, false);
  run_simulated_sleep_test(files, {{2026, 12, 3, 2, 18, 0, 5, 0}, 0.80}, false, 7 * 3600 + 30 * 60);
  run_simulated_sleep_test(files, {{2026, 12, 4, 3, 12, 40, 0, 0}, 0.75}, true, 2 * 3600);
  return 0;
}
