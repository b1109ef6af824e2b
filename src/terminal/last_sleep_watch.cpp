#include "terminal/last_sleep_watch.h"

#include "../../res/control_ids.h"
#include "lab/resume_reading.h"
#include "logs/sleep_run.h"

INT_PTR LastSleepWatch::handle(UINT message, WPARAM wparam, const std::function<INT_PTR()>& panel_handles) {
  const int id = static_cast<int>(wparam & 0xFFFF);
  if (message != WM_COMMAND || (id != IDC_S3 && id != IDC_S4)) {
    return panel_handles();
  }
  const bool alarm_armed = wake_delay(state_, ports_) != 0;
  const BeforeSleep before = read_before_sleep(laptop_.sleep_facts(), id == IDC_S4);
  const INT_PTR handled = panel_handles();
  if (!laptop_.sleep_problem().empty()) {
    return handled;  // no sleep: the strip says why already
  }
  const std::string verdict = sleep_verdict(read_after_resume(laptop_.sleep_facts(), before, alarm_armed));
  verdict_ = u"last sleep: ";
  for (char c : verdict) {
    verdict_.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  return handled;
}

LaptopStatus LastSleepWatch::status() const {
  LaptopStatus status = laptop_.status();
  if (!verdict_.empty()) {
    status.details.insert(status.details.begin(), verdict_);
  }
  return status;
}
