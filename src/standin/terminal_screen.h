// The curses side of the stand-in: the terminal's modes for the program's lifetime, drawing the
// panel and the simulated laptop's status, and reading keys and mouse clicks.
#pragma once

#include <functional>
#include <string>

#include "standin/terminal_dialog.h"

// What the strip below the panel shows of the simulated laptop.
struct LaptopStatus {
  bool ac_online = false;
  double charge_percent = 0.0;
  int rate_mw = 0;
};

// One input event, in the dialog's terms.
struct InputEvent {
  enum class Kind {
    none,
    character,      // a printable character, in `character`
    alt_character,  // Alt with a character
    next,           // Tab, Down, Right
    previous,       // Shift+Tab, Up, Left
    enter,
    escape,
    space,
    backspace,
    toggle_ac,  // F2: the simulated AC adapter
    interrupt,  // Ctrl+C
    mouse_click,
    resize,
  } kind = Kind::none;
  char16_t character = 0;
  int row = 0, column = 0;  // of a mouse click, in panel cells
};

class TerminalScreen {
 public:
  TerminalScreen();   // enters curses mode
  ~TerminalScreen();  // always leaves it, so the shell gets its terminal back
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  void draw(const TerminalDialog& dialog, const LaptopStatus& laptop);
  // Waits at most `timeout_ms` (negative: until something arrives) for one event.
  InputEvent wait_for_input(int timeout_ms);

  // A modal box over the panel until Enter, Escape, Space or a click; `idle` keeps the program
  // running behind it (timers, redrawing) and returns how long the next wait may be.
  void message_box(const std::u16string& caption, const std::u16string& text,
                   const std::function<int()>& idle);

 private:
  void set_terminal_title(const std::u16string& title);
  std::u16string shown_title_;
  bool redraw_all_ = false;
  bool title_shown_ = false;
};
