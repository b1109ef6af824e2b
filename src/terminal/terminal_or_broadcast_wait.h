// The main loop's wait: for the terminal's input or the laptop's power broadcasts, whichever comes
// first, so a broadcast is delivered while nobody touches a key.
#pragma once

// The shorter of two timeouts, where -1 means no limit.
int shorter_timeout(int a_ms, int b_ms);
// Waits until standard input or `broadcast_fd` (-1: none) is readable, a signal arrives, or
// `timeout_ms` passes (-1: no limit).
void wait_for_terminal_or_broadcast(int broadcast_fd, int timeout_ms);
