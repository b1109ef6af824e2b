#include "linux/rtc_wake_alarm.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::optional<std::string> first_word(const std::string& path) {
  std::ifstream file(path);
  std::string word;
  if (!(file >> word)) {
    return std::nullopt;
  }
  return word;
}

}  // namespace

bool RtcWakeAlarm::write(const std::string& relative, const std::string& text) {
  const std::string path = root_ + "/" + relative;
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    last_error_ = path + ": " + std::strerror(errno);
    return false;
  }
  const ssize_t written = ::write(fd, text.data(), text.size());
  const int write_error = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(text.size())) {
    last_error_ = path + ": " + std::strerror(written < 0 ? write_error : EIO);
    return false;
  }
  return true;
}

bool RtcWakeAlarm::arm(int64_t epoch_seconds) {
  return write("wakealarm", "0") && write("wakealarm", std::to_string(epoch_seconds));
}

bool RtcWakeAlarm::clear() {
  return write("wakealarm", "0");
}

bool RtcWakeAlarm::enable_wakeup() {
  return write("device/power/wakeup", "enabled");
}

std::optional<int64_t> RtcWakeAlarm::armed_for() const {
  const std::optional<std::string> word = first_word(root_ + "/wakealarm");
  if (!word) {
    return std::nullopt;  // empty: no alarm pending
  }
  std::istringstream parse(*word);
  int64_t seconds = 0;
  if (!(parse >> seconds) || seconds <= 0) {
    return std::nullopt;
  }
  return seconds;
}

std::optional<bool> RtcWakeAlarm::wakeup_enabled() const {
  const std::optional<std::string> word = first_word(root_ + "/device/power/wakeup");
  if (!word) {
    return std::nullopt;
  }
  return *word == "enabled";
}

bool RtcWakeAlarm::exists() const {
  return ::access((root_ + "/wakealarm").c_str(), F_OK) == 0;
}

bool RtcWakeAlarm::writable() const {
  return ::access((root_ + "/wakealarm").c_str(), W_OK) == 0;
}
