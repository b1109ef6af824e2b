#include "lab/lab_waiter.h"

#include <poll.h>

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t stop_signal = 0;

void request_stop(int) {
  stop_signal = 1;
}

}  // namespace

SignalWaiter::SignalWaiter() {
  struct sigaction action {};
  action.sa_handler = request_stop;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction before {};
    sigaction(signal_number, nullptr, &before);
    if (signal_number == SIGHUP && before.sa_handler == SIG_IGN) {
      continue;
    }
    sigaction(signal_number, &action, nullptr);
  }
  std::signal(SIGPIPE, SIG_IGN);
}

void SignalWaiter::wait(int fd, int timeout_ms) {
  if (stop_signal != 0) {
    return;
  }
  pollfd watched{fd, POLLIN, 0};
  ::poll(&watched, fd >= 0 ? 1 : 0, timeout_ms);  // a signal ends it early with EINTR
}

bool SignalWaiter::stop_requested() {
  return stop_signal != 0;
}
