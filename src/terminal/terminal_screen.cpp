#include "terminal/terminal_screen.h"

#include <curses.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "posix/text_convert.h"
#include "terminal/field_view.h"
#include "terminal/status_strip.h"

namespace {

constexpr int kTitleRow = 0;

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

// A dim display shows a dim panel.
constexpr int kDimBelowPercent = 40;
attr_t panel_look = A_NORMAL;

// Writes cells at a screen position, never past `width` cells nor past the screen's edge.
void put_cells(int row, int first_column, int width, const std::vector<Cell>& cells, attr_t attributes) {
  attributes |= panel_look;
  for (int i = 0; i < width && i < static_cast<int>(cells.size()); ++i) {
    const int column = first_column + i;
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

// The lines and corners of a box whose corners are at (top, left) and (top + height - 1, left + width - 1).
void draw_box(int top, int left, int height, int width) {
  const int bottom = top + height - 1, right = left + width - 1;
  mvhline(top, left + 1, ACS_HLINE, width - 2);
  mvhline(bottom, left + 1, ACS_HLINE, width - 2);
  mvvline(top + 1, left, ACS_VLINE, height - 2);
  mvvline(top + 1, right, ACS_VLINE, height - 2);
  mvaddch(top, left, ACS_ULCORNER);
  mvaddch(top, right, ACS_URCORNER);
  mvaddch(bottom, left, ACS_LLCORNER);
  mvaddch(bottom, right, ACS_LRCORNER);
}

void draw_group_box(const CellRect& area, const std::u16string& caption) {
  const int top = area.row, left = area.column;
  const int bottom = top + area.rows - 1, right = left + area.columns - 1;
  if (bottom >= LINES || right >= COLS) {
    return;  // a frame cut by the screen's edge would mislead more than help
  }
  draw_box(top, left, area.rows, area.columns);
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

// An edit control shows its text as it is ('&' included). Where the text goes on past an edge, the
// edge shows `cut_mark` instead of its bracket.
void draw_read_only_field(const CellRect& drawn, const std::u16string& text, bool focused, wchar_t cut_mark) {
  const FieldView view = field_view(text, static_cast<size_t>(std::max(0, drawn.columns - 2)), focused);
  std::vector<Cell> cells = plain(view.cut_before ? std::wstring(1, cut_mark) : focused ? L">" : L"[");
  for (const Cell& cell : plain(to_wide_chars(view.shown))) {
    cells.push_back(cell);
  }
  cells.resize(static_cast<size_t>(std::max(1, drawn.columns - 1)), Cell{L' ', false});
  cells.push_back({view.cut_after ? cut_mark : focused ? L'<' : L']', false});
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

void draw_panel_border(const ScreenLayout& layout) {
  if (layout.framed) {
    draw_box(layout.panel_top - 1, layout.panel_left - 1, kPanelRows + 2, kPanelColumns + 2);
  }
}

void draw_status_strip(const ScreenLayout& layout, const LaptopStatus& laptop) {
  int row = layout.strip_top;
  const int column = layout.panel_left;
  for (const StripRow& line :
       strip_rows(laptop, static_cast<size_t>(layout.strip_width), static_cast<size_t>(layout.strip_rows))) {
    const std::wstring text = to_wide_chars(line.text);
    if (line.look == StripRow::Look::heading) {
      // The laptop's name in bold, the rest of its row plain.
      const size_t bold = std::min(text.size(), laptop.name.size());
      put_line(row, column, text.substr(0, bold), A_BOLD);
      put_line(row, column + static_cast<int>(bold), text.substr(bold), A_NORMAL);
    } else {
      put_line(row, column, text, line.look == StripRow::Look::keys ? A_DIM : A_NORMAL);
    }
    ++row;
  }
}

// Which laptop runs, at the right end of the title line, where the host's title leaves room.
void draw_laptop_name(const ScreenLayout& layout, const std::u16string& host_title,
                      const std::u16string& name) {
  const int column = layout.right_edge - 1 - static_cast<int>(name.size());
  if (!name.empty() && column > 1 + static_cast<int>(host_title.size()) + 2) {
    put_line(kTitleRow, column, to_wide_chars(name), A_DIM);
  }
}

// Blanks a rectangle of the screen and frames it, with `title` in the top edge.
void draw_frame(int top, int left, int height, int width, const std::wstring& title) {
  for (int row = top; row < top + height; ++row) {
    mvhline(row, left, ' ', width);
  }
  draw_box(top, left, height, width);
  const std::wstring shown = L" " + title + L" ";
  attron(A_BOLD);
  mvaddnwstr(top, left + 2, shown.c_str(), std::max(0, std::min(static_cast<int>(shown.size()), width - 4)));
  attroff(A_BOLD);
}

// Text within one row of a frame, cut at `width` cells.
void put_clipped(int row, int column, int width, const std::wstring& text, attr_t attributes) {
  if (width <= 0) {
    return;
  }
  attron(attributes);
  mvaddnwstr(row, column, text.c_str(), std::min(static_cast<int>(text.size()), width));
  attroff(attributes);
}

// The viewer over the panel's right side, below the title line, so the clock stays in sight.
void draw_viewer(TextViewer& viewer) {
  constexpr int kTop = 2;
  size_t widest = viewer.note().size();
  for (const std::u16string& line : viewer.lines()) {
    widest = std::max(widest, line.size());
  }
  const int width =
      std::clamp(static_cast<int>(std::min<size_t>(widest, 1000)) + 4, std::min(60, COLS - 2), COLS - 2);
  const int height = std::clamp(static_cast<int>(std::min<size_t>(viewer.lines().size(), 1000)) + 5,
                                std::min(10, LINES - kTop - 1), LINES - kTop - 1);
  if (width < 20 || height < 5) {
    return;  // no room to show anything useful
  }
  const int left = COLS - width - 1;
  draw_frame(kTop, left, height, width, to_wide_chars(viewer.name()) + L" - Notepad");
  int row = kTop + 1;
  const int inner = width - 4;
  if (!viewer.note().empty()) {
    put_clipped(row++, left + 2, inner, to_wide_chars(viewer.note()), A_BOLD);
  }
  const int status_row = kTop + height - 2;
  const size_t page_rows = static_cast<size_t>(std::max(1, status_row - row));
  viewer.set_page(page_rows, static_cast<size_t>(inner));
  for (size_t i = viewer.top_line(); i < viewer.lines().size() && row < status_row; ++i, ++row) {
    const std::u16string& line = viewer.lines()[i];
    if (viewer.left_column() < line.size()) {
      put_clipped(row, left + 2, inner, to_wide_chars(line.substr(viewer.left_column())), A_NORMAL);
    }
  }
  const size_t count = viewer.lines().size();
  const size_t last_shown = std::min(count, viewer.top_line() + page_rows);
  const std::wstring status = L"Ln " + std::to_wstring(viewer.top_line() + 1) + L"-" +
                              std::to_wstring(last_shown) + L" of " + std::to_wstring(count) + L"   " +
                              to_wide_chars(viewer.line_ends()) + L"   Esc/q close  arrows PgUp PgDn scroll";
  put_clipped(status_row, left + 2, inner, status, A_DIM);
}

}  // namespace

TerminalScreen::TerminalScreen() {
  std::setlocale(LC_ALL, "");
  // An ellipsis where the terminal's character set has one.
  cut_mark_ = MB_CUR_MAX > 1 ? L'\u2026' : L'~';
  // In raw mode Ctrl+Z is a key, not a stop; with SIGTSTP ignored from the start, curses leaves its
  // handler alone instead of swapping it around every refresh.
  std::signal(SIGTSTP, SIG_IGN);
  initscr();
  raw();          // Ctrl+C arrives as a key, so leaving always goes through the destructor
  typeahead(-1);  // the main loop looks for keys itself; a refresh need not poll for them twice
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

void TerminalScreen::draw(const TerminalDialog& dialog, const LaptopStatus& laptop, TextViewer& viewer,
                          const MessageBoxText* box) {
  if (redraw_all_) {
    clearok(stdscr, TRUE);  // after a resize the terminal's old contents are not to be trusted
    redraw_all_ = false;
  }
  const std::optional<ScreenLayout> fitting = layout_screen(LINES, COLS);
  if (!fitting) {
    draw_size_notice(dialog.host_title());
    return;
  }
  screen_ = *fitting;
  panel_hidden_ = false;
  erase();
  panel_look = laptop.brightness_percent < kDimBelowPercent ? A_DIM : A_NORMAL;
  put_line(kTitleRow, 1, to_wide_chars(dialog.host_title()), A_BOLD);
  draw_laptop_name(screen_, dialog.host_title(), laptop.name);
  draw_panel_border(screen_);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ControlState& control = dialog.control(i);
    const CellRect drawn = on_screen(dialog.layout()[i].drawn);
    const bool focused = dialog.focus() == i;
    switch (kPanelControls[i].kind) {
      case ControlKind::group_box:
        draw_group_box(drawn, control.text);
        break;
      case ControlKind::label:
        draw_label(drawn, control.text, control.enabled);
        break;
      case ControlKind::read_only_field:
        draw_read_only_field(drawn, control.text, focused, cut_mark_);
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
  draw_status_strip(screen_, laptop);
  if (viewer.is_open()) {
    draw_viewer(viewer);
  }
  ok_button_ = ButtonCells{};
  if (box != nullptr) {
    draw_message_box(*box);
  }
  // The caret sits at the end of a focused number field, as Windows puts it there.
  if (dialog.focus_in_number_field() && !viewer.is_open() && box == nullptr) {
    const CellRect field = on_screen(dialog.layout()[*dialog.focus()].drawn);
    move(field.row, field.column + field.columns - 1);
    curs_set(1);
  } else {
    curs_set(0);
  }
  refresh();
  set_terminal_title(dialog.host_title());
}

CellRect TerminalScreen::on_screen(CellRect panel_cells) const {
  panel_cells.row += screen_.panel_top;
  panel_cells.column += screen_.panel_left;
  return panel_cells;
}

void TerminalScreen::draw_size_notice(const std::u16string& title) {
  ok_button_ = ButtonCells{};
  const std::wstring needed = L"The panel needs a terminal of " + std::to_wstring(kLeastScreenColumns) +
                              L" x " + std::to_wstring(kLeastScreenRows) + L" cells;";
  const std::wstring present =
      L"this one has " + std::to_wstring(COLS) + L" x " + std::to_wstring(LINES) + L".";
  draw_notice({needed, present, L"Enlarge the window, or press Ctrl+C to quit."}, false);
  put_line(kTitleRow, 1, to_wide_chars(title), A_BOLD);
  refresh();
  set_terminal_title(title);
  panel_hidden_ = true;
}

void TerminalScreen::draw_notice(const std::vector<std::wstring>& lines, bool dark) {
  panel_hidden_ = false;
  erase();
  const int top = std::max(0, (LINES - static_cast<int>(lines.size())) / 2);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int column = std::max(0, (COLS - static_cast<int>(lines[i].size())) / 2);
    put_line(top + static_cast<int>(i), column, lines[i], dark ? A_DIM : (i == 0 ? A_BOLD : A_NORMAL));
  }
  curs_set(0);
  refresh();
}

InputEvent TerminalScreen::wait_for_input(int timeout_ms) {
  InputEvent event;
  if (typed_ahead_.empty()) {
    event = read_input(timeout_ms);
  } else {
    event = typed_ahead_.front();
    typed_ahead_.pop_front();
  }
  if (panel_hidden_ && event.kind != InputEvent::Kind::interrupt && event.kind != InputEvent::Kind::resize) {
    return InputEvent{};
  }
  return event;
}

bool TerminalScreen::take_typed_interrupt() {
  for (;;) {
    const InputEvent event = read_input(0);
    if (event.kind == InputEvent::Kind::none) {
      return false;
    }
    if (event.kind == InputEvent::Kind::interrupt) {
      return true;
    }
    if (typed_ahead_.size() < kMaxTypedAhead) {
      typed_ahead_.push_back(event);
    }
  }
}

namespace {

struct KeyBinding {
  wint_t key;
  InputEvent::Kind kind;
};

// Keys curses decodes (KEY_CODE_YES), other than a resize and the mouse.
constexpr KeyBinding kFunctionKeys[] = {
    {KEY_BTAB, InputEvent::Kind::previous},
    {KEY_UP, InputEvent::Kind::up},
    {KEY_DOWN, InputEvent::Kind::down},
    {KEY_LEFT, InputEvent::Kind::left},
    {KEY_RIGHT, InputEvent::Kind::right},
    {KEY_PPAGE, InputEvent::Kind::page_up},
    {KEY_NPAGE, InputEvent::Kind::page_down},
    {KEY_HOME, InputEvent::Kind::home},
    {KEY_END, InputEvent::Kind::end},
    {KEY_ENTER, InputEvent::Kind::enter},
    {KEY_BACKSPACE, InputEvent::Kind::backspace},
    {KEY_F(2), InputEvent::Kind::toggle_ac},
};

// Control characters with a meaning of their own; Escape is decoded apart (it may start Alt+letter).
constexpr KeyBinding kControlCharacters[] = {
    {3, InputEvent::Kind::interrupt},   {L'\t', InputEvent::Kind::next}, {L'\r', InputEvent::Kind::enter},
    {L'\n', InputEvent::Kind::enter},   {L' ', InputEvent::Kind::space}, {8, InputEvent::Kind::backspace},
    {127, InputEvent::Kind::backspace},
};

template <size_t N>
InputEvent::Kind bound_kind(const KeyBinding (&table)[N], wint_t key) {
  for (const KeyBinding& binding : table) {
    if (binding.key == key) {
      return binding.kind;
    }
  }
  return InputEvent::Kind::none;
}

}  // namespace

InputEvent TerminalScreen::read_input(int timeout_ms) {
  timeout(timeout_ms);
  wint_t key = 0;
  const int result = get_wch(&key);
  InputEvent event;
  if (result == ERR) {
    return event;
  }
  if (result == KEY_CODE_YES) {
    if (key == KEY_RESIZE) {
      redraw_all_ = true;
      event.kind = InputEvent::Kind::resize;
    } else if (key == KEY_MOUSE) {
      MEVENT mouse{};
      if (getmouse(&mouse) == OK && (mouse.bstate & (BUTTON1_CLICKED | BUTTON1_PRESSED)) != 0) {
        event.kind = InputEvent::Kind::mouse_click;
        event.row = mouse.y - screen_.panel_top;
        event.column = mouse.x - screen_.panel_left;
      }
    } else {
      event.kind = bound_kind(kFunctionKeys, key);
    }
    return event;
  }
  event.kind = bound_kind(kControlCharacters, key);
  if (event.kind != InputEvent::Kind::none) {
    return event;
  }
  if (key == 27) {
    // Alt+letter arrives as Escape directly followed by the letter.
    timeout(0);
    wint_t next = 0;
    if (get_wch(&next) == OK && next > 0x20 && next < 0xFFFF) {
      event.kind = InputEvent::Kind::alt_character;
      event.character = static_cast<char16_t>(next);
    } else {
      event.kind = InputEvent::Kind::escape;
    }
  } else if (key > 0x20 && key < 0xFFFF && key != 0x7F) {
    event.kind = InputEvent::Kind::character;
    event.character = static_cast<char16_t>(key);
  }
  return event;
}

void TerminalScreen::draw_message_box(const MessageBoxText& box) {
  std::vector<std::wstring> lines;
  const std::wstring text = to_wide_chars(box.text);
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(L'\n', start), text.size());
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') {
      line.pop_back();
    }
    lines.push_back(line);
    start = end + 1;
  }
  const std::wstring caption = to_wide_chars(box.caption);
  const std::wstring button = L"[ OK ]";
  size_t widest = caption.size() + 4;
  for (const std::wstring& line : lines) {
    widest = std::max(widest, line.size());
  }
  const int width = std::min(static_cast<int>(widest) + 4, COLS);
  const int height = std::min(static_cast<int>(lines.size()) + 4, LINES);
  if (width < 10 || height < 4) {
    return;
  }
  const int top = (LINES - height) / 2, left = (COLS - width) / 2;
  draw_frame(top, left, height, width, caption);
  for (size_t i = 0; i < lines.size() && static_cast<int>(i) + 1 < height - 3; ++i) {
    put_clipped(top + 1 + static_cast<int>(i), left + 2, width - 4, lines[i], A_NORMAL);
  }
  ok_button_.row = top + height - 2;
  ok_button_.first_column = left + (width - static_cast<int>(button.size())) / 2;
  ok_button_.last_column = ok_button_.first_column + static_cast<int>(button.size()) - 1;
  put_clipped(ok_button_.row, ok_button_.first_column, width - 2, button, A_REVERSE);
}

bool TerminalScreen::clicks_message_box_button(const InputEvent& click) const {
  const int row = screen_.panel_top + click.row, column = screen_.panel_left + click.column;
  return click.kind == InputEvent::Kind::mouse_click && row == ok_button_.row &&
         column >= ok_button_.first_column && column <= ok_button_.last_column;
}
