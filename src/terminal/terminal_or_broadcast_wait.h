// The main loop's wait: for the terminal's input, the laptop's power broadcasts or news from its
// devices, whichever comes first, so a broadcast is delivered while nobody touches a key.
#pragma once

#include <poll.h>

#include <vector>

// The shorter of two timeouts, where -1 means no limit.
int shorter_timeout(int a_ms, int b_ms);
// Waits until standard input, `broadcast_fd` (-1: none) or one of `devices` has something, a signal
// arrives, or `timeout_ms` passes (-1: no limit). What each device descriptor saw lands in its revents.
// True when the terminal has input or a signal (a resize among them) ended the wait.
bool wait_for_terminal_or_broadcast(int broadcast_fd, std::vector<pollfd>& devices, int timeout_ms);
