// Reading sysfs: whole small files and directory listings, every open and read counted, so a test or
// the benchmark can tell what one battery query costs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A sysfs file held open: sysfs makes its text anew on every read from offset 0.
class SysfsOpenFile {
 public:
  virtual ~SysfsOpenFile() = default;
  // The file's bytes from the start, at most `limit`; nothing when the read fails (the device went away).
  virtual std::optional<std::string> read_from_start(size_t limit) = 0;
};

class SysfsFiles {
 public:
  virtual ~SysfsFiles() = default;
  // The file's bytes, at most `limit` of them; nothing when it cannot be opened or read.
  virtual std::optional<std::string> read(const std::string& path, size_t limit) = 0;
  // The names in a directory (no "." or ".."), sorted; empty when it cannot be listed.
  virtual std::vector<std::string> list(const std::string& directory) = 0;
  // The file held open for reading again; null when it cannot be opened.
  virtual std::unique_ptr<SysfsOpenFile> open(const std::string& path) = 0;
};

class PosixSysfsFiles final : public SysfsFiles {
 public:
  std::optional<std::string> read(const std::string& path, size_t limit) override;
  std::vector<std::string> list(const std::string& directory) override;
  std::unique_ptr<SysfsOpenFile> open(const std::string& path) override;

  // Files and directories opened so far, and reads made from files.
  long files_opened() const { return files_opened_; }
  long directories_opened() const { return directories_opened_; }
  long reads() const { return reads_; }

 private:
  long files_opened_ = 0;
  long directories_opened_ = 0;
  long reads_ = 0;
};
