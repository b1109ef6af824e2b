// The status strip's rows: phrases packed into lines of the panel's width, the most important first,
// so a laptop that reports much still fits the rows the terminal has for it.
#pragma once

#include <string>
#include <vector>

#include "posix/laptop_status.h"

// At most `max_rows` lines of at most `width` characters, the phrases three spaces apart. A phrase
// longer than a line breaks at a space; what still does not fit ends the last line with "...".
std::vector<std::u16string> pack_phrases(const std::vector<std::u16string>& phrases, size_t width,
                                         size_t max_rows);

struct StripRow {
  enum class Look { heading, plain, keys } look = Look::plain;
  std::u16string text;
};

// The strip in at most `rows` rows of `width`: the heading, the notices, the devices, the keys, top to
// bottom. Rows go to them in that order, so what the terminal has no room for is left out from the
// end: the keys first, then devices, then notices.
std::vector<StripRow> strip_rows(const LaptopStatus& status, size_t width, size_t rows);
