#include "linux/sysfs_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "common/scoped_owner.h"
#include "posix/owned_descriptor.h"

namespace {

int open_for_reading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

// One pread at offset 0 holds a whole attribute: sysfs answers at most a page. Only a file that
// fills the chunk is read on; a short read is its end, so no second read is spent to find it.
std::optional<std::string> read_from(int file, size_t limit, long& reads) {
  std::string bytes;
  char chunk[4096];
  while (bytes.size() < limit) {
    const size_t wanted = std::min(sizeof chunk, limit - bytes.size());
    const ssize_t got = ::pread(file, chunk, wanted, static_cast<off_t>(bytes.size()));
    ++reads;
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      // A driver that fails the read (ENODEV and the like) gives nothing, not a partial file.
      return std::nullopt;
    }
    bytes.append(chunk, static_cast<size_t>(got));
    if (static_cast<size_t>(got) < wanted) {
      break;
    }
  }
  return bytes;
}

class PosixOpenFile final : public SysfsOpenFile {
 public:
  PosixOpenFile(decltype(owned_descriptor(-1)) file, long& reads) : file_(std::move(file)), reads_(reads) {}
  std::optional<std::string> read_from_start(size_t limit) override {
    return read_from(file_.get(), limit, reads_);
  }

 private:
  decltype(owned_descriptor(-1)) file_;
  long& reads_;
};

}  // namespace

std::optional<std::string> PosixSysfsFiles::read(const std::string& path, size_t limit) {
  const auto file = owned_descriptor(open_for_reading(path));
  ++files_opened_;
  if (file.get() < 0) {
    return std::nullopt;
  }
  return read_from(file.get(), limit, reads_);
}

std::unique_ptr<SysfsOpenFile> PosixSysfsFiles::open(const std::string& path) {
  auto file = owned_descriptor(open_for_reading(path));
  ++files_opened_;
  if (file.get() < 0) {
    return nullptr;
  }
  return std::make_unique<PosixOpenFile>(std::move(file), reads_);
}

std::vector<std::string> PosixSysfsFiles::list(const std::string& directory) {
  std::vector<std::string> names;
  const auto dir = scoped_owner<DIR*>(::opendir(directory.c_str()), [](DIR* open) { ::closedir(open); });
  ++directories_opened_;
  if (dir.get() == nullptr) {
    return names;
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.emplace_back(entry->d_name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}
