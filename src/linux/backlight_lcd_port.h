// The LCD port over /sys/class/backlight: "\\.\LCD" opens the preferred backlight (firmware, then
// platform, then raw), the three brightness requests read and write its files in percent levels, and a
// brightness file the user may not write is set through logind's SetBrightness instead.
#pragma once

#include <optional>
#include <string>

#include "linux/logind_bus.h"
#include "linux/sysfs_files.h"
#include "ports/lcd_port.h"

constexpr const char* kBacklightRoot = "/sys/class/backlight";

struct Backlight {
  std::string name;  // intel_backlight, acpi_video0 ...
  std::string type;  // firmware, platform, raw
  uint32_t max = 0;
  uint32_t raw = 0;
};

// The backlight the panel steps, as its files read now.
std::optional<Backlight> find_backlight(SysfsFiles& files, const std::string& root);

class BacklightLcdPort final : public LcdPort {
 public:
  BacklightLcdPort(SysfsFiles& files, LogindBus bus, std::string root = kBacklightRoot)
      : files_(files), bus_(std::move(bus)), root_(std::move(root)) {}

  HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, DWORD creation,
                     DWORD flags_and_attributes) override;
  BOOL DeviceIoControl(HANDLE device, DWORD control_code, void* in_buffer, DWORD in_size, void* out_buffer,
                       DWORD out_size, DWORD* bytes_returned) override;
  BOOL CloseHandle(HANDLE handle) override;

  // For the status strip: the device and its level, or why there is none.
  std::optional<Backlight> current() { return find_backlight(files_, root_); }
  const std::string& problem() const { return problem_; }
  // Levels this port has set so far: the strip reads the backlight again after one.
  long levels_set() const { return levels_set_; }
  int open_handles() const { return open_ ? 1 : 0; }

 private:
  bool write_raw(uint32_t raw);

  SysfsFiles& files_;
  LogindBus bus_;
  std::string root_;
  std::optional<Backlight> device_;  // while open
  bool open_ = false;
  char device_marker_ = 0;
  std::string problem_;
  long levels_set_ = 0;
};
