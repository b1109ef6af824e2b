// The files the report reads and writes, by UTF-8 path; each platform answers them its own way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ReportFiles {
 public:
  enum class Kind { missing, file, folder, other };
  virtual ~ReportFiles() = default;
  virtual Kind kind_of(const std::string& path) = 0;
  // The whole file, or false with the reason in `error` (a file over `limit` bytes is refused).
  virtual bool read_file(const std::string& path, size_t limit, std::string& bytes, std::string& error) = 0;
  // The names in a folder, without "." and "..".
  virtual bool list_folder(const std::string& path, std::vector<std::string>& names, std::string& error) = 0;
  virtual bool write_file(const std::string& path, std::string_view bytes, std::string& error) = 0;
  // Whether both paths name one existing file (through links, another spelling or another case).
  virtual bool same_file(const std::string& a, const std::string& b) = 0;
  virtual char separator() const = 0;
};
