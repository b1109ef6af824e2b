// Counts and prints the outcome of each check of the end-to-end run.
#pragma once

#include <cstdio>
#include <string>

class CheckLog {
 public:
  // Records one check; `detail` says what was seen when it failed.
  bool expect(bool ok, const std::string& what, const std::string& detail = {}) {
    if (ok) {
      ++passed_;
      std::printf("ok   %s\n", what.c_str());
    } else {
      ++failed_;
      std::printf("FAIL %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    }
    std::fflush(stdout);
    return ok;
  }

  int passed() const { return passed_; }
  int failed() const { return failed_; }

 private:
  int passed_ = 0;
  int failed_ = 0;
};
