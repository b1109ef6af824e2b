#include "linux/sysfs_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/scoped_owner.h"
#include "posix/owned_descriptor.h"

std::optional<std::string> PosixSysfsFiles::read(const std::string& path, size_t limit) {
  const auto file = owned_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  ++files_opened_;
  if (file.get() < 0) {
    return std::nullopt;
  }
  std::string bytes;
  char chunk[4096];
  while (bytes.size() < limit) {
    const size_t wanted = std::min(sizeof chunk, limit - bytes.size());
    const ssize_t got = ::read(file.get(), chunk, wanted);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      // A driver that fails the read (ENODEV and the like) gives nothing, not a partial file.
      return std::nullopt;
    }
    if (got == 0) {
      break;
    }
    bytes.append(chunk, static_cast<size_t>(got));
  }
  return bytes;
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
