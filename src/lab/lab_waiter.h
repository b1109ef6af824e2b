// How an unattended run waits between its events, and learns that it should stop.
#pragma once

class LabWaiter {
 public:
  virtual ~LabWaiter() = default;
  // Returns when `fd` (-1: none) is readable, after at most `timeout_ms`, or on a stop request.
  virtual void wait(int fd, int timeout_ms) = 0;
  virtual bool stop_requested() = 0;
};

// The process's own: poll(2), and SIGINT, SIGTERM and SIGHUP as stop requests. A SIGHUP that was
// ignored at start (nohup) stays ignored, and a closed standard output (a dropped SSH session) is no
// reason to die: SIGPIPE is ignored, so the run still ends with its last row.
class SignalWaiter final : public LabWaiter {
 public:
  SignalWaiter();
  void wait(int fd, int timeout_ms) override;
  bool stop_requested() override;
};
