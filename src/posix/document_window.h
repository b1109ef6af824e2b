// What the log file port's "Notepad" opens a document in: the terminal's viewer, or whatever a host
// shows documents with.
#pragma once

#include <string>

class DocumentWindow {
 public:
  virtual ~DocumentWindow() = default;
  // `bytes` in the ANSI code page; `cut`: only the file's start was read.
  virtual void show(const std::u16string& name, const std::string& bytes, bool cut) = 0;
  // What Notepad says of a file that is not there.
  virtual void show_missing(const std::u16string& name) = 0;
};
