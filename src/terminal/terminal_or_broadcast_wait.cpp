#include "terminal/terminal_or_broadcast_wait.h"

#include <poll.h>
#include <unistd.h>

int shorter_timeout(int a_ms, int b_ms) {
  if (a_ms < 0) {
    return b_ms;
  }
  return b_ms < 0 || a_ms < b_ms ? a_ms : b_ms;
}

bool wait_for_terminal_or_broadcast(int broadcast_fd, std::vector<pollfd>& devices, int timeout_ms) {
  std::vector<pollfd> watched = {{STDIN_FILENO, POLLIN, 0}};
  if (broadcast_fd >= 0) {
    watched.push_back({broadcast_fd, POLLIN, 0});
  }
  const size_t first_device = watched.size();
  watched.insert(watched.end(), devices.begin(), devices.end());
  // A signal (Ctrl+C's SIGINT, a resize) ends the wait too: the loop looks at it next.
  const int ready = ::poll(watched.data(), watched.size(), timeout_ms);
  for (size_t i = 0; i < devices.size(); ++i) {
    devices[i].revents = ready > 0 ? watched[first_device + i].revents : 0;
  }
  return ready < 0 || watched[0].revents != 0;
}
