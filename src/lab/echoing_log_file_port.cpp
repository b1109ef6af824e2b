#include "lab/echoing_log_file_port.h"

BOOL EchoingLogFilePort::WriteFile(HANDLE file, const void* bytes, DWORD count, DWORD* written) {
  const BOOL ok = files_.WriteFile(file, bytes, count, written);
  if (echoing_) {
    const char* text = static_cast<const char*>(bytes);
    for (DWORD i = 0; i < count; ++i) {
      if (text[i] != '\r') {
        std::fputc(text[i], echo_);
      }
    }
    std::fflush(echo_);
  }
  return ok;
}
