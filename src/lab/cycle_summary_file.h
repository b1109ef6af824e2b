// The file that sums up a run's cycles, beside their logs: named like the run's first log with
// "-cycles.tsv" in place of ".txt", so it sorts beside them and is no log. Each row is written as its
// cycle ends, so a run stopped half-way keeps the cycles it finished.
#pragma once

#include <string>

#include "common/win_types.h"

class CycleSummaryFile {
 public:
  // "S3-09h05m03s-2012y07m04d-cycles.tsv" for a sleep run started at that local time.
  static std::string name_for(bool hibernate, const SYSTEMTIME& started);

  // Creates the file with its header line; false with the reason in problem() when it cannot.
  bool create(const std::string& name, const std::string& header);
  bool append(const std::string& row);
  ~CycleSummaryFile();

  const std::string& name() const { return name_; }
  const std::string& problem() const { return problem_; }

 private:
  bool write_all(const std::string& bytes);

  std::string name_;
  std::string problem_;
  int fd_ = -1;
};
