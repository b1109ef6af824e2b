// The Linux program: the panel's logic in a terminal, on the real laptop where the machine has a
// battery, else on the simulated one.
#include <csignal>
#include <cstdio>
#include <string>

#include "identity/board_identity.h"
#include "lab/lab_command_line.h"
#include "lab/lab_entry.h"
#include "laptop/laptop.h"
#include "linux/linux_laptop.h"
#include "panel/panel.h"
#include "posix/local_clock_port.h"
#include "posix/monotonic_clock.h"
#include "posix/posix_log_file_port.h"
#include "terminal/command_line.h"
#include "terminal/last_sleep_watch.h"
#include "terminal/panel_keys.h"
#include "terminal/terminal_check.h"
#include "terminal/terminal_dialog.h"
#include "terminal/terminal_message_boxes.h"
#include "terminal/terminal_or_broadcast_wait.h"
#include "terminal/terminal_power_screens.h"
#include "terminal/terminal_screen.h"
#include "terminal/text_viewer.h"
#include "terminal/viewer_keys.h"

namespace {

constexpr double kStartingCharge = 0.8;
constexpr int kIdleWaitMs = 1000;  // without a timer: still notice a signal now and then

volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) {
  stop_requested = 1;
}

void install_stop_handlers() {
  struct sigaction action {};
  action.sa_handler = request_stop;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    sigaction(signal_number, &action, nullptr);
  }
}

// The broadcasts the system sent, one by one, also those sent while the thread was held in a suspend
// request.
void deliver_power_broadcasts(Laptop& laptop, PanelState& state, const PanelPorts& ports,
                              const TerminalDialog& dialog) {
  for (WPARAM event : laptop.take_broadcasts()) {
    static_cast<void>(event);  // the host handles every event alike
    if (dialog.quit_posted()) {
      break;
    }
    handle_power_broadcast(state, ports);
  }
}

// A powered-off display shows nothing; the first key only turns it back on. False on Ctrl+C.
bool wait_with_display_off(TerminalScreen& screen, TerminalDialog& dialog, Laptop& laptop) {
  screen.draw_notice({L"The display is off", L"", L"press any key to turn it on"}, true);
  const InputEvent event = screen.wait_for_input(dialog.milliseconds_to_next_timer(kIdleWaitMs));
  if (event.kind == InputEvent::Kind::interrupt) {
    return false;
  }
  if (event.kind != InputEvent::Kind::none && event.kind != InputEvent::Kind::resize) {
    laptop.wake_display();
  }
  dialog.run_due_timers();
  return true;
}

// The laptop the program runs on, chosen here alone: the real one where the machine has a battery.
std::unique_ptr<Laptop> choose_laptop(bool simulate, MonotonicClock& clock) {
  return simulate || !machine_has_battery() ? simulated_laptop(clock, kStartingCharge) : real_laptop();
}

// `chargewright log` and `chargewright sleep`: the unattended host, without a terminal.
int run_unattended(int argc, char** argv) {
  const LabCommand command = parse_lab_command(argc, argv);
  if (command.show_help) {
    std::fputs(kLabUsage, stdout);
    return 0;
  }
  if (!command.error.empty()) {
    std::fprintf(stderr, "chargewright: %s\n", command.error.c_str());
    std::fputs(kLabUsage, stderr);
    return 2;
  }
  SteadyClock steady_clock;
  const std::unique_ptr<Laptop> laptop = choose_laptop(command.simulate, steady_clock);
  return run_lab_command(command, *laptop, steady_clock);
}

}  // namespace

int main(int argc, char** argv) {
  if (names_lab_command(argc, argv)) {
    return run_unattended(argc, argv);
  }
  const CommandLine command_line = parse_command_line(argc, argv);
  if (command_line.action != CommandLine::Action::run) {
    return answer_command_line(command_line);
  }
  if (const std::string reason = terminal_unusable_reason(); !reason.empty()) {
    std::fprintf(stderr, "chargewright: %s\n", reason.c_str());
    return 1;
  }
  if (first_overlap(layout_panel())[0] >= 0) {
    std::fputs("chargewright: the panel layout has overlapping controls\n", stderr);
    return 1;
  }
  SteadyClock steady_clock;
  const std::unique_ptr<Laptop> running = choose_laptop(command_line.simulate, steady_clock);
  Laptop& laptop = *running;
  LocalClockPort local_clock;
  TerminalDialog dialog(steady_clock);
  TextViewer viewer;
  PosixLogFilePort files(viewer);
  const PanelPorts ports = laptop.ports(dialog, local_clock, files);
  static PanelState state;
  LastSleepWatch last_sleep(laptop, state, ports);

  install_stop_handlers();
  TerminalScreen screen;
  TerminalMessageBoxes message_boxes(
      screen, dialog, viewer, [&] { return last_sleep.status(); }, stop_requested);
  dialog.set_message_box_screen(&message_boxes);
  TerminalPowerScreens power_screens(screen, stop_requested);
  laptop.set_power_screen(&power_screens);
  dialog.set_default_processing([&](UINT message, WPARAM wparam, LPARAM lparam) {
    return laptop.default_processing(message, wparam, lparam);
  });

  // The Windows program's order: host window, board identity, then the panel and its initialisation.
  state.host_window = dialog.host_window();
  query_board_identity(state, laptop.wmi());
  state.panel = dialog.panel_window();
  dialog.attach([&](UINT message, WPARAM wparam, LPARAM lparam) {
    return last_sleep.handle(message, wparam,
                             [&] { return panel_dialog_message(state, ports, message, wparam, lparam); });
  });
  dialog.create_panel();

  while (!dialog.quit_posted() && stop_requested == 0) {
    if (!laptop.display_on()) {
      deliver_power_broadcasts(laptop, state, ports, dialog);
      if (!wait_with_display_off(screen, dialog, laptop)) {
        return 0;  // Ctrl+C
      }
      continue;
    }
    screen.draw(dialog, last_sleep.status(), viewer);
    InputEvent event = screen.wait_for_input(0);
    if (event.kind == InputEvent::Kind::none) {
      std::vector<pollfd> devices = laptop.device_descriptors();
      const bool terminal_spoke = wait_for_terminal_or_broadcast(
          laptop.broadcast_fd(), devices,
          shorter_timeout(dialog.milliseconds_to_next_timer(kIdleWaitMs), laptop.broadcast_timeout_ms()));
      laptop.devices_ready(devices);
      if (terminal_spoke) {
        event = screen.wait_for_input(0);
      }
    }
    // Once a round, so also what the system sent while a command held the thread (a suspend).
    deliver_power_broadcasts(laptop, state, ports, dialog);
    if (dialog.quit_posted()) {
      break;
    }
    const bool taken_by_viewer = viewer.is_open() && handle_viewer_event(event, viewer);
    if (!taken_by_viewer && !handle_event(event, dialog, laptop, state, ports)) {
      return 0;  // Ctrl+C
    }
    dialog.run_due_timers();
  }
  return stop_requested != 0 ? 0 : dialog.exit_code();
}
