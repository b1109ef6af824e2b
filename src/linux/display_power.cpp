#include "linux/display_power.h"

#include <fcntl.h>
#include <linux/tiocl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef CHARGEWRIGHT_DPMS
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#endif

namespace {

class Unavailable final : public DisplayPower {
 public:
  explicit Unavailable(std::string reason) : reason_(std::move(reason)) {}
  bool set_on(bool) override { return false; }
  std::string unavailable() const override { return reason_; }
  bool on() const override { return true; }

 private:
  std::string reason_;
};

// TIOCLINUX blank and unblank on the virtual console the program runs on.
class ConsoleBlanking final : public DisplayPower {
 public:
  explicit ConsoleBlanking(int fd) : fd_(fd) {}
  bool set_on(bool on) override {
    char request[2] = {static_cast<char>(on ? TIOCL_UNBLANKSCREEN : TIOCL_BLANKSCREEN), 0};
    if (::ioctl(fd_, TIOCLINUX, request) != 0) {
      problem_ = std::string("console blanking: ") + std::strerror(errno);
      return false;
    }
    problem_.clear();
    on_ = on;
    return true;
  }
  std::string unavailable() const override { return problem_; }
  bool on() const override { return on_; }

 private:
  int fd_;
  bool on_ = true;
  std::string problem_;
};

#ifdef CHARGEWRIGHT_DPMS
class X11Dpms final : public DisplayPower {
 public:
  explicit X11Dpms(Display* display) : display_(display) {}
  ~X11Dpms() override { XCloseDisplay(display_); }
  X11Dpms(const X11Dpms&) = delete;
  X11Dpms& operator=(const X11Dpms&) = delete;
  bool set_on(bool on) override {
    DPMSEnable(display_);
    const Status done = DPMSForceLevel(display_, on ? DPMSModeOn : DPMSModeOff);
    XFlush(display_);
    if (done == 0) {
      return false;
    }
    on_ = on;
    return true;
  }
  std::string unavailable() const override { return {}; }
  bool on() const override { return on_; }

 private:
  Display* display_;
  bool on_ = true;
};
#endif

bool on_virtual_console(int fd) {
  // The console's "get shift state" request answers only on a virtual terminal.
  char request = TIOCL_GETSHIFTSTATE;
  return ::isatty(fd) && ::ioctl(fd, TIOCLINUX, &request) == 0;
}

}  // namespace

std::unique_ptr<DisplayPower> session_display_power() {
  if (std::getenv("WAYLAND_DISPLAY") != nullptr) {
    return std::make_unique<Unavailable>("display power: Wayland has no common protocol for it");
  }
  if (const char* name = std::getenv("DISPLAY"); name != nullptr && *name != '\0') {
#ifdef CHARGEWRIGHT_DPMS
    Display* display = XOpenDisplay(name);
    if (display == nullptr) {
      return std::make_unique<Unavailable>(std::string("display power: cannot open X display ") + name);
    }
    int event_base = 0, error_base = 0;
    if (!DPMSQueryExtension(display, &event_base, &error_base) || !DPMSCapable(display)) {
      XCloseDisplay(display);
      return std::make_unique<Unavailable>("display power: the X server has no DPMS");
    }
    return std::make_unique<X11Dpms>(display);
#else
    return std::make_unique<Unavailable>("display power: built without DPMS (libXext)");
#endif
  }
  if (on_virtual_console(STDIN_FILENO)) {
    return std::make_unique<ConsoleBlanking>(STDIN_FILENO);
  }
  return std::make_unique<Unavailable>("display power: not on a virtual console, and no X display");
}
