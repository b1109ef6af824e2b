#include "standin/terminal_screen.h"

#include <curses.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

#include "standin/text_convert.h"

namespace {

constexpr int kTitleRow = 0;
constexpr int kPanelTop = 2;   // the panel's border is one row above, on row 1
constexpr int kPanelLeft = 1;  // and one column to the left

// One display cell: a character and whether it is the mnemonic letter.
struct Cell {
  wchar_t character;
  bool mnemonic;
};

// A control text as display cells: '&' underlines the next letter, "&&" is one '&'; line breaks end it.
std::vector<Cell> cells_of(const std::u16string& text) {
  std::vector<Cell> cells;
  const std::wstring wide = to_wide_chars(text);
  for (size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\r' || wide[i] == L'\n') {
      break;
    }
    if (wide[i] == L'&' && i + 1 < wide.size()) {
      ++i;
      cells.push_back({wide[i], wide[i] != L'&'});
      continue;
    }
    cells.push_back({wide[i], false});
  }
  return cells;
}

// Writes cells at a panel position, never past `width` cells nor past the screen's edge.
void put_cells(int panel_row, int panel_column, int width, const std::vector<Cell>& cells,
               attr_t attributes) {
  const int row = kPanelTop + panel_row;
  for (int i = 0; i < width && i < static_cast<int>(cells.size()); ++i) {
    const int column = kPanelLeft + panel_column + i;
    if (row < 0 || row >= LINES || column < 0 || column >= COLS) {
      continue;
    }
    const wchar_t text[2] = {cells[static_cast<size_t>(i)].character, 0};
    cchar_t cell;
    setcchar(&cell, text, attributes | (cells[static_cast<size_t>(i)].mnemonic ? A_UNDERLINE : A_NORMAL), 0,
             nullptr);
    mvadd_wch(row, column, &cell);
  }
}

std::vector<Cell> plain(const std::wstring& text) {
  std::vector<Cell> cells;
  for (wchar_t c : text) {
    cells.push_back({c, false});
  }
  return cells;
}

void put_line(int row, int column, const std::wstring& text, attr_t attributes) {
  if (row < 0 || row >= LINES) {
    return;
  }
  attron(attributes);
  mvaddnwstr(row, column, text.c_str(), std::max(0, std::min(static_cast<int>(text.size()), COLS - column)));
  attroff(attributes);
}

void draw_group_box(const CellRect& area, const std::u16string& caption) {
  const int top = kPanelTop + area.row, left = kPanelLeft + area.column;
  const int bottom = top + area.rows - 1, right = left + area.columns - 1;
  if (bottom >= LINES || right >= COLS) {
    return;  // a frame cut by the screen's edge would mislead more than help
  }
  mvhline(top, left + 1, ACS_HLINE, area.columns - 2);
  mvhline(bottom, left + 1, ACS_HLINE, area.columns - 2);
  mvvline(top + 1, left, ACS_VLINE, area.rows - 2);
  mvvline(top + 1, right, ACS_VLINE, area.rows - 2);
  mvaddch(top, left, ACS_ULCORNER);
  mvaddch(top, right, ACS_URCORNER);
  mvaddch(bottom, left, ACS_LLCORNER);
  mvaddch(bottom, right, ACS_LRCORNER);
  std::vector<Cell> text = plain(L" ");
  for (const Cell& cell : cells_of(caption)) {
    text.push_back(cell);
  }
  text.push_back({L' ', false});
  put_cells(area.row, area.column + 1, area.columns - 2, text, A_BOLD);
}

void draw_label(const CellRect& drawn, const std::u16string& text, bool enabled) {
  // The status line has two lines, "\r\n" between them.
  size_t start = 0;
  for (int line = 0; line < drawn.rows && start <= text.size(); ++line) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    put_cells(drawn.row + line, drawn.column, drawn.columns, cells_of(text.substr(start, end - start)),
              enabled ? A_NORMAL : A_DIM);
    start = end + 1;
  }
}

void draw_read_only_field(const CellRect& drawn, const std::u16string& text, bool focused) {
  std::vector<Cell> cells = plain(focused ? L">" : L"[");
  std::vector<Cell> inside = cells_of(text);
  inside.resize(static_cast<size_t>(std::max(0, drawn.columns - 2)), Cell{L' ', false});
  cells.insert(cells.end(), inside.begin(), inside.end());
  cells.push_back({focused ? L'<' : L']', false});
  put_cells(drawn.row, drawn.column, drawn.columns, cells, focused ? A_BOLD : A_NORMAL);
}

void draw_number_field(const CellRect& drawn, const std::u16string& text, bool enabled, bool focused) {
  // WS_EX_RIGHT: the digits end at the right edge; the last ones stay visible when they do not fit.
  const std::vector<Cell> digits = cells_of(text);
  const size_t width = static_cast<size_t>(drawn.columns);
  std::vector<Cell> cells(width, Cell{enabled ? L'_' : L' ', false});
  const size_t shown = std::min(width, digits.size());
  std::copy(digits.end() - static_cast<std::ptrdiff_t>(shown), digits.end(),
            cells.end() - static_cast<std::ptrdiff_t>(shown));
  const attr_t look = !enabled ? A_DIM : (focused ? A_REVERSE : A_UNDERLINE);
  put_cells(drawn.row, drawn.column, drawn.columns, cells, look);
}

void draw_push_button(const CellRect& drawn, const std::u16string& text, bool enabled, bool focused) {
  const std::vector<Cell> caption = cells_of(text);
  const int length = static_cast<int>(caption.size());
  std::vector<Cell> cells;
  if (drawn.columns >= length + 2) {
    // "[ S3 ]", and "[>S3<]" with the focus: the markers take the blanks beside the caption.
    const int blanks = drawn.columns - 2 - length;
    const int before = blanks / 2, after = blanks - before;
    cells = plain(L"[");
    for (int i = 0; i < before; ++i) {
      cells.push_back({(focused && i == before - 1) ? L'>' : L' ', false});
    }
    cells.insert(cells.end(), caption.begin(), caption.end());
    for (int i = 0; i < after; ++i) {
      cells.push_back({(focused && i == 0) ? L'<' : L' ', false});
    }
    cells.push_back({L']', false});
  } else {
    cells = caption;
  }
  attr_t look = enabled ? A_NORMAL : A_DIM;
  if (focused) {
    look |= A_REVERSE;
  }
  put_cells(drawn.row, drawn.column, drawn.columns, cells, look);
}

void draw_check_box(const CellRect& drawn, const std::u16string& text, bool checked, bool enabled,
                    bool focused) {
  std::vector<Cell> cells = plain(checked ? L"[x]" : L"[ ]");
  cells.push_back({focused ? L'>' : L' ', false});
  const std::vector<Cell> caption = cells_of(text);
  cells.insert(cells.end(), caption.begin(), caption.end());
  attr_t look = enabled ? A_NORMAL : A_DIM;
  if (focused) {
    look |= A_BOLD;
  }
  put_cells(drawn.row, drawn.column, drawn.columns, cells, look);
}

void draw_panel_border() {
  const int top = kPanelTop - 1, left = kPanelLeft - 1;
  const int bottom = kPanelTop + kPanelRows, right = kPanelLeft + kPanelColumns;
  if (bottom >= LINES || right >= COLS) {
    return;
  }
  mvhline(top, left + 1, ACS_HLINE, right - left - 1);
  mvhline(bottom, left + 1, ACS_HLINE, right - left - 1);
  mvvline(top + 1, left, ACS_VLINE, bottom - top - 1);
  mvvline(top + 1, right, ACS_VLINE, bottom - top - 1);
  mvaddch(top, left, ACS_ULCORNER);
  mvaddch(top, right, ACS_URCORNER);
  mvaddch(bottom, left, ACS_LLCORNER);
  mvaddch(bottom, right, ACS_LRCORNER);
}

void draw_status_strip(const LaptopStatus& laptop) {
  const int row = kPanelTop + kPanelRows + 1;
  wchar_t battery[64];
  std::swprintf(battery, sizeof battery / sizeof battery[0], L"%.1f %%, %+.1f W", laptop.charge_percent,
                laptop.rate_mw / 1000.0);
  put_line(row, 1, L"Simulated laptop", A_BOLD);
  put_line(row, 19, std::wstring(L"AC adapter: ") + (laptop.ac_online ? L"online" : L"offline"), A_NORMAL);
  put_line(row, 42, std::wstring(L"Battery: ") + battery, A_NORMAL);
  // Filled in as the device buttons get their simulated devices.
  put_line(row + 1, 19, L"Brightness: -   Radio: -   Volume: -   Display: -", A_NORMAL);
  put_line(row + 2, 1, L"F2 AC adapter   Tab/Shift+Tab focus   Enter/Space press   Alt+X exit   Ctrl+C quit",
           A_DIM);
}

}  // namespace

TerminalScreen::TerminalScreen() {
  std::setlocale(LC_ALL, "");
  initscr();
  raw();  // Ctrl+C arrives as a key, so leaving always goes through the destructor
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  set_escdelay(25);
  curs_set(0);
  mousemask(BUTTON1_CLICKED | BUTTON1_PRESSED, nullptr);
  mouseinterval(0);
}

TerminalScreen::~TerminalScreen() {
  endwin();
}

void TerminalScreen::set_terminal_title(const std::u16string& title) {
  if (title_shown_ && title == shown_title_) {
    return;
  }
  // Control characters would end the escape sequence early.
  std::string utf8 = to_utf8(title);
  std::replace_if(
      utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
  std::fprintf(stdout, "\033]0;%s\007", utf8.c_str());
  std::fflush(stdout);
  shown_title_ = title;
  title_shown_ = true;
}

void TerminalScreen::draw(const TerminalDialog& dialog, const LaptopStatus& laptop) {
  if (redraw_all_) {
    clearok(stdscr, TRUE);  // after a resize the terminal's old contents are not to be trusted
    redraw_all_ = false;
  }
  erase();
  put_line(kTitleRow, 1, to_wide_chars(dialog.host_title()), A_BOLD);
  draw_panel_border();
  const PanelLayout& layout = dialog.layout();
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlState& control = dialog.control(i);
    const CellRect& drawn = layout[i].drawn;
    const bool focused = dialog.focus() == i;
    switch (kPanelControls[i].kind) {
      case ControlKind::group_box:
        draw_group_box(drawn, control.text);
        break;
      case ControlKind::label:
        draw_label(drawn, control.text, control.enabled);
        break;
      case ControlKind::read_only_field:
        draw_read_only_field(drawn, control.text, focused);
        break;
      case ControlKind::delay_field:
        draw_number_field(drawn, control.text, control.enabled, focused);
        break;
      case ControlKind::push_button:
        draw_push_button(drawn, control.text, control.enabled, focused);
        break;
      case ControlKind::check_box:
        draw_check_box(drawn, control.text, control.checked, control.enabled, focused);
        break;
    }
  }
  draw_status_strip(laptop);
  // The caret sits at the end of a focused number field, as Windows puts it there.
  if (dialog.focus_in_number_field()) {
    const CellRect& field = layout[*dialog.focus()].drawn;
    move(kPanelTop + field.row, kPanelLeft + field.column + field.columns - 1);
    curs_set(1);
  } else {
    curs_set(0);
  }
  refresh();
  set_terminal_title(dialog.host_title());
}

InputEvent TerminalScreen::wait_for_input(int timeout_ms) {
  timeout(timeout_ms);
  wint_t key = 0;
  const int result = get_wch(&key);
  InputEvent event;
  if (result == ERR) {
    return event;
  }
  if (result == KEY_CODE_YES) {
    switch (key) {
      case KEY_RESIZE:
        redraw_all_ = true;
        event.kind = InputEvent::Kind::resize;
        break;
      case KEY_MOUSE: {
        MEVENT mouse{};
        if (getmouse(&mouse) == OK && (mouse.bstate & (BUTTON1_CLICKED | BUTTON1_PRESSED)) != 0) {
          event.kind = InputEvent::Kind::mouse_click;
          event.row = mouse.y - kPanelTop;
          event.column = mouse.x - kPanelLeft;
        }
        break;
      }
      case KEY_BTAB:
      case KEY_UP:
      case KEY_LEFT:
        event.kind = InputEvent::Kind::previous;
        break;
      case KEY_DOWN:
      case KEY_RIGHT:
        event.kind = InputEvent::Kind::next;
        break;
      case KEY_ENTER:
        event.kind = InputEvent::Kind::enter;
        break;
      case KEY_BACKSPACE:
        event.kind = InputEvent::Kind::backspace;
        break;
      default:
        if (key == static_cast<wint_t>(KEY_F(2))) {
          event.kind = InputEvent::Kind::toggle_ac;
        }
        break;
    }
    return event;
  }
  switch (key) {
    case 3:
      event.kind = InputEvent::Kind::interrupt;
      return event;
    case L'\t':
      event.kind = InputEvent::Kind::next;
      return event;
    case L'\r':
    case L'\n':
      event.kind = InputEvent::Kind::enter;
      return event;
    case L' ':
      event.kind = InputEvent::Kind::space;
      return event;
    case 8:
    case 127:
      event.kind = InputEvent::Kind::backspace;
      return event;
    case 27: {
      // Alt+letter arrives as Escape directly followed by the letter.
      timeout(0);
      wint_t next = 0;
      if (get_wch(&next) == OK && next > 0x20 && next < 0xFFFF) {
        event.kind = InputEvent::Kind::alt_character;
        event.character = static_cast<char16_t>(next);
      } else {
        event.kind = InputEvent::Kind::escape;
      }
      return event;
    }
    default:
      if (key > 0x20 && key < 0xFFFF && key != 0x7F) {
        event.kind = InputEvent::Kind::character;
        event.character = static_cast<char16_t>(key);
      }
      return event;
  }
}

void TerminalScreen::message_box(const std::u16string& caption, const std::u16string& text,
                                 const std::function<int()>& idle) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(u'\n', start), text.size());
    std::u16string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') {
      line.pop_back();
    }
    lines.push_back(line);
    start = end + 1;
  }
  lines.push_back(u"");
  lines.push_back(u"[ OK ]");
  size_t widest = caption.size() + 4;
  for (const std::u16string& line : lines) {
    widest = std::max(widest, line.size());
  }
  const int width = std::min(static_cast<int>(widest) + 4, std::max(COLS - 2, 10));
  const int height = static_cast<int>(lines.size()) + 2;
  for (;;) {
    const int wait_ms = idle();
    const int top = std::max(0, (LINES - height) / 2), left = std::max(0, (COLS - width) / 2);
    WINDOW* box_window = newwin(height, width, top, left);
    if (box_window != nullptr) {
      werase(box_window);
      box(box_window, 0, 0);
      const std::wstring title = L" " + to_wide_chars(caption) + L" ";
      mvwaddnwstr(box_window, 0, 2, title.c_str(), std::max(0, width - 4));
      for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring line = to_wide_chars(lines[i]);
        const int column = i + 1 == lines.size() ? (width - static_cast<int>(line.size())) / 2 : 2;
        mvwaddnwstr(box_window, static_cast<int>(i) + 1, std::max(1, column), line.c_str(),
                    std::max(0, width - 4));
      }
      wrefresh(box_window);
      delwin(box_window);
    }
    const InputEvent event = wait_for_input(wait_ms);
    const bool closes = event.kind == InputEvent::Kind::mouse_click ||
                        event.kind == InputEvent::Kind::enter || event.kind == InputEvent::Kind::escape ||
                        event.kind == InputEvent::Kind::space;
    if (closes) {
      return;
    }
  }
}
