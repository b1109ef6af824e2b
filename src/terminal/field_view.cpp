#include "terminal/field_view.h"

FieldView field_view(std::u16string_view text, size_t width, bool focused) {
  if (text.size() <= width) {
    return {std::u16string(text), false, false};
  }
  if (focused) {
    return {std::u16string(text.substr(text.size() - width)), true, false};
  }
  return {std::u16string(text.substr(0, width)), false, true};
}
