#include "terminal/text_viewer.h"

#include <algorithm>

#include "posix/ansi_code_page.h"

namespace {

// Moves `position` by `delta`, staying within 0 ... `last`.
size_t moved(size_t position, long delta, size_t last) {
  const long target = static_cast<long>(position) + delta;
  return std::min(last, static_cast<size_t>(std::max(0L, target)));
}

}  // namespace

void TextViewer::show(const std::u16string& name, const std::string& bytes, bool cut) {
  open_ = true;
  name_ = name;
  lines_.assign(1, u"");
  note_ = cut ? u"The file is larger than the viewer takes; only its start is shown." : u"";
  line_ends_.clear();
  top_line_ = 0;
  left_column_ = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '\r' || byte == '\n') {
      const bool crlf = byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
      if (line_ends_.empty()) {
        // Notepad names the kind of the first line end it finds.
        line_ends_ = crlf ? u"Windows (CRLF)" : (byte == '\n' ? u"Unix (LF)" : u"Macintosh (CR)");
      }
      i += crlf ? 1 : 0;
      lines_.emplace_back();
      continue;
    }
    std::u16string& line = lines_.back();
    if (byte == '\t') {
      line.append(kTabWidth - line.size() % kTabWidth, u' ');
    } else if (byte < 0x20 || byte == 0x7F) {
      line.push_back(u'?');  // a control character has no glyph of its own here
    } else {
      line.push_back(unit_of_ansi_byte(byte));
    }
  }
  if (lines_.size() > 1 && lines_.back().empty()) {
    lines_.pop_back();  // the last line's end starts no new line of its own
  }
  if (line_ends_.empty()) {
    line_ends_ = u"Windows (CRLF)";
  }
}

void TextViewer::show_missing(const std::u16string& name) {
  show(name, "", false);
  note_ = u"Cannot find the " + name + u" file (file not found).";
}

void TextViewer::set_page(size_t rows, size_t columns) {
  page_rows_ = std::max<size_t>(rows, 1);
  page_columns_ = std::max<size_t>(columns, 1);
  top_line_ = std::min(top_line_, last_top_line());
  left_column_ = std::min(left_column_, last_left_column());
}

size_t TextViewer::last_top_line() const {
  return lines_.size() > page_rows_ ? lines_.size() - page_rows_ : 0;
}

size_t TextViewer::last_left_column() const {
  size_t widest = 0;
  for (const std::u16string& line : lines_) {
    widest = std::max(widest, line.size());
  }
  return widest > page_columns_ ? widest - page_columns_ : 0;
}

void TextViewer::scroll_lines(int delta) {
  top_line_ = moved(top_line_, delta, last_top_line());
}

void TextViewer::scroll_pages(int delta) {
  // A page keeps one line of the last one in view, as a text window does.
  const long step = std::max(1L, static_cast<long>(page_rows_) - 1);
  top_line_ = moved(top_line_, delta * step, last_top_line());
}

void TextViewer::scroll_columns(int delta) {
  left_column_ = moved(left_column_, delta, last_left_column());
}

void TextViewer::scroll_to_end() {
  top_line_ = last_top_line();
}
