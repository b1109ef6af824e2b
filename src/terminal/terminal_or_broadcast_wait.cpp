#include "terminal/terminal_or_broadcast_wait.h"

#include <poll.h>
#include <unistd.h>

int shorter_timeout(int a_ms, int b_ms) {
  if (a_ms < 0) {
    return b_ms;
  }
  return b_ms < 0 || a_ms < b_ms ? a_ms : b_ms;
}

void wait_for_terminal_or_broadcast(int broadcast_fd, int timeout_ms) {
  pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {broadcast_fd, POLLIN, 0}};
  // A signal (Ctrl+C's SIGINT, a resize) ends the wait too: the loop looks at it next.
  ::poll(watched, broadcast_fd >= 0 ? 2 : 1, timeout_ms);
}
