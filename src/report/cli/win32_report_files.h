// The report's files through wide-character Windows calls, so that any file name can be read.
#pragma once

#include "report/report_files.h"

class Win32ReportFiles final : public ReportFiles {
 public:
  Kind kind_of(const std::string& path) override;
  bool read_file(const std::string& path, size_t limit, std::string& bytes, std::string& error) override;
  bool list_folder(const std::string& path, std::vector<std::string>& names, std::string& error) override;
  bool write_file(const std::string& path, std::string_view bytes, std::string& error) override;
  bool same_file(const std::string& a, const std::string& b) override;
  char separator() const override { return '\\'; }
};
