// The text of a power supply's `uevent` file: one KEY=VALUE per line, as the kernel writes it (a
// trailing newline) or as a test bed does (none). What a driver put there is not trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct UeventField {
  std::string name;  // after POWER_SUPPLY_, lower case, as the attribute file is named
  std::string value;
};

class UeventFields {
 public:
  void add(std::string name, std::string value);
  // The last value given for `name`.
  std::optional<std::string_view> text(std::string_view name) const;
  // A decimal integer, optionally signed; anything else (empty, trailing junk, overflow) is absent.
  std::optional<int64_t> integer(std::string_view name) const;
  size_t size() const { return fields_.size(); }

 private:
  std::vector<UeventField> fields_;
};

// Lines longer than this, and files with more fields than this, are not a power supply's.
constexpr size_t kMaxUeventLine = 4096;
constexpr size_t kMaxUeventFields = 256;

// Keeps the POWER_SUPPLY_ lines (others, e.g. DEVTYPE, say nothing about the supply); a line without
// `=` or with an empty name is skipped.
UeventFields parse_power_supply_uevent(std::string_view text);

std::optional<int64_t> parse_decimal(std::string_view text);
