// Counts and prints the outcome of each check of the end-to-end run.
#pragma once

#include <cstdio>
#include <string>

// `text` in double quotes, with CR and LF shown as \r and \n, for a check's detail.
inline std::string quoted(const std::string& text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '\r') {
      result += "\\r";
    } else if (c == '\n') {
      result += "\\n";
    } else {
      result += c;
    }
  }
  return result + "\"";
}

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
