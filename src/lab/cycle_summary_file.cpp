#include "lab/cycle_summary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "logs/cycle_summary_columns.h"

std::string CycleSummaryFile::name_for(bool hibernate, const SYSTEMTIME& started) {
  char name[64];
  std::snprintf(name, sizeof name, "%s-%02uh%02um%02us-%uy%02um%02ud%s", hibernate ? "S4" : "S3",
                unsigned{started.wHour}, unsigned{started.wMinute}, unsigned{started.wSecond},
                unsigned{started.wYear}, unsigned{started.wMonth}, unsigned{started.wDay},
                kCycleSummarySuffix);
  return name;
}

bool CycleSummaryFile::create(const std::string& name, const std::string& header) {
  name_ = name;
  fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    problem_ = name + ": " + std::strerror(errno);
    return false;
  }
  return write_all(header);
}

bool CycleSummaryFile::append(const std::string& row) {
  return write_all(row);
}

bool CycleSummaryFile::write_all(const std::string& bytes) {
  size_t done = 0;
  while (fd_ >= 0 && done < bytes.size()) {
    const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      problem_ = name_ + ": " + std::strerror(written < 0 ? errno : EIO);
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return fd_ >= 0;
}

CycleSummaryFile::~CycleSummaryFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}
