#include "report/cli/read_stream.h"

#include <cerrno>
#include <cstring>

bool read_stream(std::FILE* file, size_t limit, std::string& bytes, std::string& error) {
  bytes.clear();
  char chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (bytes.size() + got > limit) {
      error = "too large for a test log";
      return false;
    }
    bytes.append(chunk, got);
  }
  if (std::ferror(file)) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}
