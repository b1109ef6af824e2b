// Reading sysfs: whole small files and directory listings, every open counted, so a test or the
// benchmark can tell how many files one battery query costs.
#pragma once

#include <optional>
#include <string>
#include <vector>

class SysfsFiles {
 public:
  virtual ~SysfsFiles() = default;
  // The file's bytes, at most `limit` of them; nothing when it cannot be opened or read.
  virtual std::optional<std::string> read(const std::string& path, size_t limit) = 0;
  // The names in a directory (no "." or ".."), sorted; empty when it cannot be listed.
  virtual std::vector<std::string> list(const std::string& directory) = 0;
};

class PosixSysfsFiles final : public SysfsFiles {
 public:
  std::optional<std::string> read(const std::string& path, size_t limit) override;
  std::vector<std::string> list(const std::string& directory) override;

  // Files and directories opened so far.
  long files_opened() const { return files_opened_; }
  long directories_opened() const { return directories_opened_; }

 private:
  long files_opened_ = 0;
  long directories_opened_ = 0;
};
