// What a one-line edit field too narrow for its text shows of it. As in a Windows edit control the
// text starts at its first character; reached by Tab or a click, the whole text is selected and the
// caret at its end scrolls the end into view. Either way the edges say where the text goes on.
#pragma once

#include <string>
#include <string_view>

struct FieldView {
  std::u16string shown;     // at most the field's width
  bool cut_before = false;  // characters before the first shown
  bool cut_after = false;   // characters after the last shown
};

FieldView field_view(std::u16string_view text, size_t width, bool focused);
