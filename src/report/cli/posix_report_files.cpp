#include "report/cli/posix_report_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct FolderCloser {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

std::string reason() {
  return std::strerror(errno);
}

}  // namespace

ReportFiles::Kind PosixReportFiles::kind_of(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return Kind::missing;
  }
  return S_ISREG(status.st_mode) ? Kind::file : S_ISDIR(status.st_mode) ? Kind::folder : Kind::other;
}

bool PosixReportFiles::read_file(const std::string& path, size_t limit, std::string& bytes,
                                 std::string& error) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = reason();
    return false;
  }
  bytes.clear();
  char chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + got > limit) {
      error = "too large for a test log";
      return false;
    }
    bytes.append(chunk, got);
  }
  if (std::ferror(file.get())) {
    error = reason();
    return false;
  }
  return true;
}

bool PosixReportFiles::list_folder(const std::string& path, std::vector<std::string>& names,
                                   std::string& error) {
  const std::unique_ptr<DIR, FolderCloser> folder(::opendir(path.c_str()));
  if (!folder) {
    error = reason();
    return false;
  }
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  return true;
}

bool PosixReportFiles::write_file(const std::string& path, std::string_view bytes, std::string& error) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = reason();
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  // The close flushes the last block: its failure loses the page's end too.
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) {
    error = reason();
    return false;
  }
  return true;
}
