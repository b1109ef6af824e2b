// The screen behind a modal message box: the panel goes on being drawn under it, and only the
// box's own keys count.
#pragma once

#include <csignal>
#include <functional>
#include <string>

#include "terminal/terminal_dialog.h"
#include "terminal/terminal_screen.h"
#include "terminal/text_viewer.h"

class TerminalMessageBoxes final : public MessageBoxScreen {
 public:
  // `stop_requested`: set by a signal or by Ctrl+C in the box; either ends the box and then the program.
  TerminalMessageBoxes(TerminalScreen& screen, const TerminalDialog& dialog, TextViewer& viewer,
                       std::function<LaptopStatus()> laptop, volatile std::sig_atomic_t& stop_requested)
      : screen_(screen),
        dialog_(dialog),
        viewer_(viewer),
        laptop_(std::move(laptop)),
        stop_requested_(stop_requested) {}

  bool show_and_wait(const std::u16string& caption, const std::u16string& text, int wait_ms) override;

 private:
  TerminalScreen& screen_;
  const TerminalDialog& dialog_;
  TextViewer& viewer_;
  std::function<LaptopStatus()> laptop_;
  volatile std::sig_atomic_t& stop_requested_;
};
