// A fresh, empty directory of the driver's own for a launch to write its test logs into, and
// reading what lands there. The directory and its files go away with the owner.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class LogDirectory {
 public:
  LogDirectory();
  ~LogDirectory();
  LogDirectory(const LogDirectory&) = delete;
  LogDirectory& operator=(const LogDirectory&) = delete;

  bool created() const { return !path_.empty(); }
  const std::wstring& path() const { return path_; }
  // The names of the files in it (no directories).
  std::vector<std::wstring> file_names() const;
  // The whole file as it is now, read while its writer still holds it open; nullopt when it cannot
  // be opened or read.
  std::optional<std::string> read_file(const std::wstring& name) const;
  // The lines the program has finished writing to the file, whatever their line ends; 0 while it
  // cannot be read.
  size_t complete_lines(const std::wstring& name) const;
  // Deletes the files and the directory; true when the directory is gone.
  bool remove();

 private:
  std::wstring path_;
};
