#include "lab/resume_reading.h"

#include <charconv>

namespace {

std::string_view trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::optional<uint64_t> number_in(const std::optional<std::string>& text) {
  if (!text) {
    return std::nullopt;
  }
  const std::string_view digits = trimmed(*text);
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<uint64_t> read_number(SleepFactsPort& facts, SleepFact fact) {
  return number_in(facts.read(fact));
}

std::string read_word(SleepFactsPort& facts, SleepFact fact) {
  const std::optional<std::string> text = facts.read(fact);
  return text ? std::string(trimmed(*text)) : std::string();
}

uint64_t lead(const SleepClocks& clocks) {
  return clocks.boottime_ms >= clocks.monotonic_ms ? clocks.boottime_ms - clocks.monotonic_ms : 0;
}

bool rose(const std::optional<uint64_t>& before, const std::optional<uint64_t>& after) {
  return before && after && *after > *before;
}

// The platform reports the time in hardware sleep only on an s2idle resume; otherwise the last
// figure is an older sleep's.
std::optional<uint64_t> hardware_sleep(SleepFactsPort& facts, const BeforeSleep& before) {
  if (before.hibernate || before.state != "s2idle") {
    return std::nullopt;
  }
  const std::optional<uint64_t> last = read_number(facts, SleepFact::last_hw_sleep);
  const std::optional<uint64_t> total = read_number(facts, SleepFact::total_hw_sleep);
  if (before.total_hw_sleep_us && total && *total >= *before.total_hw_sleep_us) {
    const uint64_t grown = *total - *before.total_hw_sleep_us;
    if (grown == 0 && last && *last != 0) {
      return std::nullopt;  // not reported for this sleep: `last` is stale
    }
    return grown;  // also right when an s2idle sleep woke briefly and went on
  }
  return last;
}

}  // namespace

std::string bracketed_choice(std::string_view text) {
  const size_t open = text.find('[');
  const size_t close = text.find(']', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos) {
    return {};
  }
  return std::string(trimmed(text.substr(open + 1, close - open - 1)));
}

std::string interrupt_name(std::string_view interrupts, int irq) {
  const std::string label = std::to_string(irq) + ":";
  while (!interrupts.empty()) {
    const size_t end = interrupts.find('\n');
    const std::string_view line = interrupts.substr(0, end);
    interrupts = end == std::string_view::npos ? std::string_view() : interrupts.substr(end + 1);
    if (trimmed(line).substr(0, label.size()) != label) {
      continue;
    }
    // The handlers' names come last, after two spaces; several are joined by ", ".
    const std::string_view row = trimmed(line);
    const size_t gap = row.rfind("  ");
    return gap == std::string_view::npos ? std::string() : std::string(trimmed(row.substr(gap)));
  }
  return {};
}

BeforeSleep read_before_sleep(SleepFactsPort& facts, bool hibernate) {
  BeforeSleep before;
  before.hibernate = hibernate;
  before.state =
      bracketed_choice(facts.read(hibernate ? SleepFact::disk : SleepFact::mem_sleep).value_or(""));
  before.successes = read_number(facts, SleepFact::success);
  before.failures = read_number(facts, SleepFact::fail);
  before.total_hw_sleep_us = read_number(facts, SleepFact::total_hw_sleep);
  before.clocks = facts.read_clocks();
  return before;
}

SleepReading read_after_resume(SleepFactsPort& facts, const BeforeSleep& before, bool alarm_armed) {
  SleepReading reading;
  const SleepClocks clocks = facts.read_clocks();
  reading.hibernate = before.hibernate;
  reading.state = before.state;
  reading.asleep_ms = lead(clocks) > lead(before.clocks) ? lead(clocks) - lead(before.clocks) : 0;

  reading.hw_sleep_us = hardware_sleep(facts, before);
  const std::optional<uint64_t> most = read_number(facts, SleepFact::max_hw_sleep);
  if (reading.hw_sleep_us && most) {
    reading.hw_sleep_wrapped = reading.asleep_ms * 1000 > *most;
  }

  if (const std::optional<std::string> alarm = facts.read(SleepFact::wake_alarm); alarm && alarm_armed) {
    reading.alarm_rang = trimmed(*alarm).empty();
  }
  if (const std::optional<uint64_t> irq = read_number(facts, SleepFact::wakeup_irq)) {
    reading.wake_irq = static_cast<int>(*irq);
    reading.wake_irq_name = interrupt_name(facts.read(SleepFact::interrupts).value_or(""), *reading.wake_irq);
  }

  const std::optional<uint64_t> successes = read_number(facts, SleepFact::success);
  const std::optional<uint64_t> failures = read_number(facts, SleepFact::fail);
  if (rose(before.failures, failures)) {
    reading.suspend = SleepReading::Suspend::failed;
    reading.failed_step = read_word(facts, SleepFact::last_failed_step);
    reading.failed_device = read_word(facts, SleepFact::last_failed_dev);
  } else if (rose(before.successes, successes)) {
    reading.suspend = SleepReading::Suspend::ok;
  }
  return reading;
}

std::optional<uint64_t> hw_sleep_permille(const SleepReading& reading) {
  if (!reading.hw_sleep_us || reading.asleep_ms == 0) {
    return std::nullopt;
  }
  // Rounded to the nearest tenth of a percent.
  return (*reading.hw_sleep_us + reading.asleep_ms / 2) / reading.asleep_ms;
}

std::string wake_source(const SleepReading& reading) {
  std::string irq;
  if (reading.wake_irq) {
    irq = "irq " + std::to_string(*reading.wake_irq);
    if (!reading.wake_irq_name.empty()) {
      irq += " " + reading.wake_irq_name;
    }
  }
  if (reading.alarm_rang.value_or(false)) {
    return irq.empty() ? "rtc alarm" : "rtc alarm (" + irq + ")";
  }
  return irq;
}

std::string seconds_text(uint64_t milliseconds, int decimals) {
  if (decimals == 1) {
    const uint64_t tenths = (milliseconds + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  }
  const std::string thousandths = std::to_string(1000 + milliseconds % 1000);
  return std::to_string(milliseconds / 1000) + "." + thousandths.substr(1);
}

std::string tenths_text(uint64_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string sleep_verdict(const SleepReading& reading) {
  std::string line;
  if (reading.suspend == SleepReading::Suspend::failed) {
    line = "suspend failed";
    if (!reading.failed_step.empty()) {
      line += " at " + reading.failed_step;
    }
    if (!reading.failed_device.empty()) {
      line += " (" + reading.failed_device + ")";
    }
    line += ", ";
  }
  line += reading.state.empty() ? std::string("state unknown") : reading.state;
  line += ", asleep " + seconds_text(reading.asleep_ms, 1) + " s";
  if (const std::optional<uint64_t> permille = hw_sleep_permille(reading)) {
    line += ", hardware sleep " + tenths_text(*permille) + " %";
    if (reading.hw_sleep_wrapped.value_or(false)) {
      line += " (unreliable: longer than its counter holds)";
    }
  } else {
    line += ", hardware sleep unknown";
  }
  const std::string woken_by = wake_source(reading);
  line += ", woken by " + (woken_by.empty() ? std::string("unknown") : woken_by);
  return line;
}
