// The curses side of the stand-in: the terminal's modes for the program's lifetime, drawing the
// panel and the simulated laptop's status, and reading keys and mouse clicks.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "posix/laptop_status.h"
#include "terminal/screen_layout.h"
#include "terminal/terminal_dialog.h"
#include "terminal/text_viewer.h"

// One input event, in the dialog's terms.
struct InputEvent {
  enum class Kind {
    none,
    character,      // a printable character, in `character`
    alt_character,  // Alt with a character
    next,           // Tab
    previous,       // Shift+Tab
    up,
    down,
    left,
    right,
    page_up,
    page_down,
    home,
    end,
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

// A message box's texts; its text breaks lines at CR LF.
struct MessageBoxText {
  std::u16string caption;
  std::u16string text;
};

class TerminalScreen {
 public:
  TerminalScreen();   // enters curses mode
  ~TerminalScreen();  // always leaves it, so the shell gets its terminal back
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // The panel and as much of the status strip as the rows below it hold, with an open viewer over
  // them and a message box over everything. The viewer learns how much of its document fits. A
  // terminal too small for the panel shows the clock and the size it needs instead.
  void draw(const TerminalDialog& dialog, const LaptopStatus& laptop, TextViewer& viewer,
            const MessageBoxText* box = nullptr);
  // A whole screen of its own (sleeping, display off, shutting down): the lines centred; `dark` dims them.
  void draw_notice(const std::vector<std::wstring>& lines, bool dark);
  // Waits at most `timeout_ms` (negative: until something arrives) for one event. While the panel
  // does not fit, only Ctrl+C and resizes come through: keys must not act on controls out of sight.
  InputEvent wait_for_input(int timeout_ms);
  // Reads what was typed, without waiting: true when Ctrl+C is among it. The rest is kept, in order,
  // for wait_for_input (up to kMaxTypedAhead events), so a key typed ahead still reaches the panel.
  bool take_typed_interrupt();
  // Whether a click lands on the [ OK ] of the message box drawn last.
  bool clicks_message_box_button(const InputEvent& click) const;

 private:
  InputEvent read_input(int timeout_ms);
  void draw_size_notice(const std::u16string& title);
  void set_terminal_title(const std::u16string& title);
  void draw_message_box(const MessageBoxText& box);
  CellRect on_screen(CellRect panel_cells) const;
  struct ButtonCells {
    int row = -1, first_column = 0, last_column = -1;
  };
  static constexpr size_t kMaxTypedAhead = 64;
  std::deque<InputEvent> typed_ahead_;
  ButtonCells ok_button_;
  ScreenLayout screen_;  // as last drawn: clicks are read against it
  wchar_t cut_mark_ = L'~';
  std::u16string shown_title_;
  bool redraw_all_ = false;
  bool title_shown_ = false;
  bool panel_hidden_ = false;  // the last draw showed the size notice instead of the panel
};
