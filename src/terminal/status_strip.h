// The status strip's rows: phrases packed into lines of the panel's width, so a laptop that reports
// much still fits the rows the terminal has for it.
#pragma once

#include <string>
#include <vector>

constexpr size_t kStripDetailRows = 4;  // rows between the heading and the keys

// At most `max_rows` lines of at most `width` characters, the phrases three spaces apart. A phrase
// longer than a line breaks at a space; what still does not fit ends the last line with "...".
std::vector<std::u16string> pack_phrases(const std::vector<std::u16string>& phrases, size_t width,
                                         size_t max_rows);
