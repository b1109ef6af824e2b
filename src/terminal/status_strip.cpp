#include "terminal/status_strip.h"

#include <algorithm>

namespace {

constexpr std::u16string_view kGap = u"   ";
constexpr std::u16string_view kCut = u"...";

// The longest start of `text` that fits `width`, ending at a space where one is in reach.
size_t fitting_length(std::u16string_view text, size_t width) {
  if (text.size() <= width) {
    return text.size();
  }
  const size_t space = text.substr(0, width + 1).rfind(u' ');
  return space != std::u16string_view::npos && space > 0 ? space : width;
}

}  // namespace

std::vector<std::u16string> pack_phrases(const std::vector<std::u16string>& phrases, size_t width,
                                         size_t max_rows) {
  std::vector<std::u16string> rows;
  if (width <= kCut.size() || max_rows == 0) {
    return rows;
  }
  for (const std::u16string& phrase : phrases) {
    std::u16string_view rest = phrase;
    if (!rows.empty() && rows.back().size() + kGap.size() + rest.size() <= width) {
      rows.back().append(kGap).append(rest);
      continue;
    }
    while (!rest.empty()) {
      if (rows.size() == max_rows) {
        std::u16string& last = rows.back();
        last.resize(std::min(last.size(), width - kCut.size()));
        last.append(kCut);
        return rows;
      }
      const size_t taken = fitting_length(rest, width);
      rows.emplace_back(rest.substr(0, taken));
      rest.remove_prefix(taken);
      while (!rest.empty() && rest.front() == u' ') {
        rest.remove_prefix(1);
      }
    }
  }
  return rows;
}

std::vector<StripRow> strip_rows(const LaptopStatus& status, size_t width, size_t rows) {
  std::vector<StripRow> strip;
  const auto add = [&](StripRow::Look look, const std::vector<std::u16string>& phrases, size_t most) {
    for (std::u16string& line : pack_phrases(phrases, width, std::min(most, rows - strip.size()))) {
      strip.push_back({look, std::move(line)});
    }
  };
  add(StripRow::Look::heading, status.heading, 1);
  add(StripRow::Look::plain, status.notices, rows);
  add(StripRow::Look::plain, status.details, rows);
  if (!status.keys.empty()) {
    add(StripRow::Look::keys, {status.keys}, 1);
  }
  return strip;
}
