#include "linux/backlight_lcd_port.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>

#include "linux/backlight_levels.h"
#include "posix/brightness_answers.h"

using namespace video_brightness;

namespace {

std::optional<uint32_t> read_number(SysfsFiles& files, const std::string& path) {
  const std::optional<std::string> text = files.read(path, 32);
  if (!text) {
    return std::nullopt;
  }
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (error != std::errc() || end == text->data()) {
    return std::nullopt;
  }
  return value;
}

std::string read_word(SysfsFiles& files, const std::string& path) {
  std::string text = files.read(path, 32).value_or("");
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

int type_rank(const std::string& type) {
  return type == "firmware" ? 0 : type == "platform" ? 1 : type == "raw" ? 2 : 3;
}

}  // namespace

std::optional<Backlight> find_backlight(SysfsFiles& files, const std::string& root) {
  std::optional<Backlight> best;
  for (const std::string& name : files.list(root)) {
    const std::string directory = root + "/" + name;
    const std::optional<uint32_t> max = read_number(files, directory + "/max_brightness");
    if (!max || *max == 0) {
      continue;
    }
    Backlight candidate{name, read_word(files, directory + "/type"), *max, 0};
    // The level last set, which is what a read must give back; the hardware's own value otherwise.
    std::optional<uint32_t> raw = read_number(files, directory + "/brightness");
    if (!raw) {
      raw = read_number(files, directory + "/actual_brightness");
    }
    if (!raw) {
      continue;
    }
    candidate.raw = *raw;
    if (!best || type_rank(candidate.type) < type_rank(best->type)) {
      best = candidate;  // names come sorted: the first of the best kind wins
    }
  }
  return best;
}

HANDLE BacklightLcdPort::CreateFileW(const char16_t* path, DWORD, DWORD, DWORD creation, DWORD) {
  if (path == nullptr || std::u16string_view(path) != u"\\\\.\\LCD" || creation != OPEN_EXISTING || open_) {
    return INVALID_HANDLE_VALUE;
  }
  device_ = find_backlight(files_, root_);
  if (!device_) {
    problem_ = "no backlight under " + root_;
    return INVALID_HANDLE_VALUE;  // ERROR_FILE_NOT_FOUND
  }
  open_ = true;
  return &device_marker_;
}

bool BacklightLcdPort::write_raw(uint32_t raw) {
  const std::string path = root_ + "/" + device_->name + "/brightness";
  const std::string text = std::to_string(raw);
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd >= 0) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
    if (written == static_cast<ssize_t>(text.size())) {
      problem_.clear();
      return true;
    }
  }
  const std::string direct_error = path + ": " + std::strerror(errno);
  if (bus_.set_brightness(device_->name, raw)) {
    problem_.clear();
    return true;
  }
  problem_ = direct_error + "; " + bus_.last_error();
  return false;
}

BOOL BacklightLcdPort::DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size,
                                       void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  if (device != &device_marker_ || !open_ || bytes_returned == nullptr) {
    return FALSE;
  }
  *bytes_returned = 0;
  switch (control_code) {
    case IOCTL_VIDEO_QUERY_SUPPORTED_BRIGHTNESS: {
      const std::vector<uint8_t> levels = backlight_levels(device_->max);
      return answer_supported_levels(levels.data(), levels.size(), out_buffer, out_size, bytes_returned);
    }
    case IOCTL_VIDEO_QUERY_DISPLAY_BRIGHTNESS:
      return answer_display_brightness(percent_for_raw(device_->raw, device_->max), out_buffer, out_size,
                                       bytes_returned);
    case IOCTL_VIDEO_SET_DISPLAY_BRIGHTNESS: {
      const std::optional<UCHAR> wanted = requested_brightness(in_buffer, in_size);
      if (!wanted) {
        return FALSE;  // ERROR_INVALID_PARAMETER
      }
      const uint32_t raw = raw_for_percent(*wanted, device_->max);
      if (!write_raw(raw)) {
        return FALSE;  // ERROR_ACCESS_DENIED
      }
      device_->raw = raw;
      ++levels_set_;
      return TRUE;
    }
    default:
      return FALSE;  // ERROR_INVALID_FUNCTION
  }
}

BOOL BacklightLcdPort::CloseHandle(HANDLE handle) {
  if (handle != &device_marker_ || !open_) {
    return FALSE;
  }
  open_ = false;
  device_.reset();
  return TRUE;
}
