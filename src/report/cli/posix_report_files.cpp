#include "report/cli/posix_report_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "report/cli/read_stream.h"

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
  return read_stream(file.get(), limit, bytes, error);
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

bool PosixReportFiles::same_file(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}
