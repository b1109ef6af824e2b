// A power_supply tree in a fresh temporary directory, written file by file as a driver would.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class SysfsFixture {
 public:
  SysfsFixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "chargewright-sysfs-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
  }
  ~SysfsFixture() { std::filesystem::remove_all(root_); }
  SysfsFixture(const SysfsFixture&) = delete;
  SysfsFixture& operator=(const SysfsFixture&) = delete;

  std::string path(const std::string& relative) const { return (root_ / relative).string(); }
  void write(const std::string& relative, const std::string& text) const {
    const std::filesystem::path file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
  }
  void supply(const std::string& name, const std::string& uevent) const {
    write("power_supply/" + name + "/uevent", uevent);
  }
  void remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }
  std::string supplies() const { return path("power_supply"); }

 private:
  std::filesystem::path root_;
};
