#include "linux/uevent_text.h"

#include <limits>

namespace {

constexpr std::string_view kPrefix = "POWER_SUPPLY_";

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trim_line_end(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

}  // namespace

void UeventFields::add(std::string name, std::string value) {
  fields_.push_back({std::move(name), std::move(value)});
}

std::optional<std::string_view> UeventFields::text(std::string_view name) const {
  for (auto field = fields_.rbegin(); field != fields_.rend(); ++field) {
    if (field->name == name) {
      return std::string_view(field->value);
    }
  }
  return std::nullopt;
}

std::optional<int64_t> UeventFields::integer(std::string_view name) const {
  const auto value = text(name);
  return value ? parse_decimal(*value) : std::nullopt;
}

std::optional<int64_t> parse_decimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 19) {
    return std::nullopt;
  }
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    const int digit = c - '0';
    if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

UeventFields parse_power_supply_uevent(std::string_view text) {
  UeventFields fields;
  while (!text.empty() && fields.size() < kMaxUeventFields) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = trim_line_end(line);
    if (line.size() > kMaxUeventLine || line.substr(0, kPrefix.size()) != kPrefix) {
      continue;
    }
    line.remove_prefix(kPrefix.size());
    const size_t equals = line.find('=');
    if (equals == 0 || equals == std::string_view::npos) {
      continue;
    }
    std::string name;
    name.reserve(equals);
    for (char c : line.substr(0, equals)) {
      name.push_back(lower(c));
    }
    fields.add(std::move(name), std::string(line.substr(equals + 1)));
  }
  return fields;
}
