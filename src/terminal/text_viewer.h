// The stand-in's Notepad: a read-only document shown over the panel while the panel keeps running.
// It holds the document and where it is scrolled to; the screen draws it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "posix/document_window.h"

class TextViewer final : public DocumentWindow {
 public:
  static constexpr size_t kTabWidth = 8;

  // `bytes` in the ANSI code page; CR LF, LF or a lone CR end a line. `cut`: only the file's start was read.
  void show(const std::u16string& name, const std::string& bytes, bool cut) override;
  // What Notepad says of a file that is not there.
  void show_missing(const std::u16string& name) override;
  void close() { open_ = false; }

  bool is_open() const { return open_; }
  const std::u16string& name() const { return name_; }
  const std::vector<std::u16string>& lines() const { return lines_; }  // tabs expanded
  const std::u16string& note() const { return note_; }                 // empty for a whole document
  const std::u16string& line_ends() const { return line_ends_; }       // as Notepad's status bar names them
  size_t top_line() const { return top_line_; }
  size_t left_column() const { return left_column_; }

  // The screen says how many lines and columns it shows, which bounds the scrolling.
  void set_page(size_t rows, size_t columns);
  void scroll_lines(int delta);
  void scroll_pages(int delta);
  void scroll_columns(int delta);
  void scroll_to_start() { top_line_ = 0; }
  void scroll_to_end();

 private:
  size_t last_top_line() const;
  size_t last_left_column() const;

  bool open_ = false;
  std::u16string name_;
  std::vector<std::u16string> lines_;
  std::u16string note_;
  std::u16string line_ends_;
  size_t top_line_ = 0;
  size_t left_column_ = 0;
  size_t page_rows_ = 1;
  size_t page_columns_ = 1;
};
