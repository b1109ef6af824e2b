// libFuzzer target: whatever a file under a log's name holds, read, summarised and made into the
// console's text and the page's data. The undefined-behaviour sanitizer stops any unchecked arithmetic.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/log_summary.h"
#include "report/machine_battery.h"
#include "report/page_data.h"
#include "report/summary_table.h"

namespace {

// Only line ends may remain of the control characters: the text goes to a terminal.
void check_shown(const std::string& text) {
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) {
      __builtin_trap();
    }
  }
}

}  // namespace

// The input is the file's name, a zero byte, then its bytes; without a zero byte, a dated log's name.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view name = "S3-23h59m59s-2026y12m31d.txt";
  if (const size_t zero = input.find('\0'); zero != std::string_view::npos) {
    name = input.substr(0, zero);
    input.remove_prefix(zero + 1);
  }
  std::vector<LogReport> reports;
  reports.push_back(summarise(read_log(name, input)));
  if (!reports.front().log.is_log) {
    return 0;
  }
  check_shown(text_summary(reports));
  const std::string json = page_data_json(reports, MachineBattery{});
  if (json.empty() || json.front() != '{' || json.back() != '}') {
    __builtin_trap();
  }
  return 0;
}
